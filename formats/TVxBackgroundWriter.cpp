#include "TVxBackgroundWriter.h"

#include "TFileHandle.h"

TVxBackgroundWriter::TVxBackgroundWriter(TFileHandle &file) : FFile(file), FThread([this] { Run(); }) {}

TVxBackgroundWriter::~TVxBackgroundWriter()
{
    {
        std::lock_guard<std::mutex> lock(FLock);
        FStop = true;
    }
    FChanged.notify_all();
    FThread.join();
}

void TVxBackgroundWriter::WaitIdle(std::unique_lock<std::mutex> &lock)
{
    FChanged.wait(lock, [this] { return !FFull; });
    if (FError)
        std::rethrow_exception(std::exchange(FError, nullptr));
}

void TVxBackgroundWriter::Write(int64_t pos, std::string &block)
{
    {
        std::unique_lock<std::mutex> lock(FLock);
        WaitIdle(lock);
        FBlock.swap(block);
        FPos = pos;
        FFull = true;
    }
    FChanged.notify_all();
}

void TVxBackgroundWriter::Finish()
{
    std::unique_lock<std::mutex> lock(FLock);
    WaitIdle(lock);
}

void TVxBackgroundWriter::Run()
{
    std::unique_lock<std::mutex> lock(FLock);
    for (;;) {
        FChanged.wait(lock, [this] { return FFull || FStop; });
        if (!FFull)
            return;
        // The block is this thread's until FFull is cleared: written without the lock.
        lock.unlock();
        std::exception_ptr error;
        try {
            FFile.WriteAt(FPos, FBlock.data(), FBlock.size());
        } catch (...) {
            error = std::current_exception();
        }
        lock.lock();
        FBlock.clear();
        FError = error;
        FFull = false;
        FChanged.notify_all();
    }
}
