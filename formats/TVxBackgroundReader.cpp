#include "TVxBackgroundReader.h"

#include "TFileHandle.h"

#include <utility>

TVxBackgroundReader::TVxBackgroundReader(const TFileHandle &file, size_t blockSize)
    : FFile(file), FBlock(blockSize), FThread([this] { Run(); })
{
}

TVxBackgroundReader::~TVxBackgroundReader()
{
    {
        std::lock_guard<std::mutex> lock(FLock);
        FStop = true;
    }
    FChanged.notify_all();
    FThread.join();
}

size_t TVxBackgroundReader::Next(std::vector<char> &block)
{
    size_t length;
    {
        std::unique_lock<std::mutex> lock(FLock);
        FChanged.wait(lock, [this] { return FFull; });
        if (FError)
            std::rethrow_exception(FError);
        block.resize(FBlock.size());
        block.swap(FBlock);
        length = FLength;
        FFull = false;
    }
    FChanged.notify_all();
    return length;
}

void TVxBackgroundReader::Run()
{
    int64_t pos = 0;
    std::unique_lock<std::mutex> lock(FLock);
    for (;;) {
        FChanged.wait(lock, [this] { return !FFull || FStop; });
        if (FStop)
            return;
        // The block is this thread's until FFull is set: read without the lock.
        lock.unlock();
        size_t got = 0;
        std::exception_ptr error;
        try {
            got = FFile.ReadAt(pos, FBlock.data(), FBlock.size());
        } catch (...) {
            error = std::current_exception();
        }
        lock.lock();
        pos += static_cast<int64_t>(got);
        FLength = got;
        FError = error;
        FFull = true;
        FChanged.notify_all();
        // After the end or an error there is nothing more to read.
        if (got == 0 || error) {
            FChanged.wait(lock, [this] { return FStop; });
            return;
        }
    }
}
