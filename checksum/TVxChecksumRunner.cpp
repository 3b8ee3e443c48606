#include "TVxChecksumRunner.h"

#include "TVxProgress.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace {
// Two buffers handed between the reading thread and the worker. A buffer is free (-1) or
// holds that many bytes for the worker; the worker takes them in turn.
class TPipeline {
public:
    explicit TPipeline(TVxChecksumSet &set) : FSet(set)
    {
        for (auto &b : FBuffers)
            b.resize(size_t(TVxChecksumRunner::kBlock));
        FThread = std::thread([this] { Work(); });
    }
    // Also the way out of a cancel: the worker leaves what it has not begun.
    ~TPipeline()
    {
        {
            std::lock_guard<std::mutex> lock(FMutex);
            FAbandon = true;
        }
        FChanged.notify_all();
        FThread.join();
    }

    // Buffer i once the worker is done with it.
    uint8_t *Free(int i)
    {
        std::unique_lock<std::mutex> lock(FMutex);
        FChanged.wait(lock, [&] { return FFill[i] < 0 || FError; });
        if (FError)
            std::rethrow_exception(FError);
        return FBuffers[size_t(i)].data();
    }
    void Submit(int i, int32_t count)
    {
        {
            std::lock_guard<std::mutex> lock(FMutex);
            FFill[i] = count;
        }
        FChanged.notify_all();
    }
    // Waits until the worker has taken everything submitted.
    void Finish()
    {
        std::unique_lock<std::mutex> lock(FMutex);
        FChanged.wait(lock, [&] { return (FFill[0] < 0 && FFill[1] < 0) || FError; });
        if (FError)
            std::rethrow_exception(FError);
    }

private:
    void Work()
    {
        for (int i = 0;; i ^= 1) {
            int32_t count;
            {
                std::unique_lock<std::mutex> lock(FMutex);
                FChanged.wait(lock, [&] { return FAbandon || FFill[i] >= 0; });
                if (FAbandon)
                    return;
                count = FFill[i];
            }
            std::exception_ptr error;
            try {
                FSet.Update(FBuffers[size_t(i)].data(), size_t(count));
            } catch (...) {
                error = std::current_exception();
            }
            {
                std::lock_guard<std::mutex> lock(FMutex);
                FFill[i] = -1;
                FError = error;
            }
            FChanged.notify_all();
            if (error)
                return;
        }
    }

    TVxChecksumSet &FSet;
    std::array<std::vector<uint8_t>, 2> FBuffers;
    std::mutex FMutex;
    std::condition_variable FChanged;
    std::array<int32_t, 2> FFill{-1, -1};
    bool FAbandon = false;
    std::exception_ptr FError;
    std::thread FThread;
};
} // namespace

std::vector<TVxChecksumResult> TVxChecksumRunner::Run(const TVxDocument &doc, int64_t offset, int64_t count,
                                                      const std::vector<TVxChecksum> &kinds, TVxProgress *progress)
{
    if (offset < 0 || count < 0 || offset + count > doc.FileSize())
        throw std::runtime_error("checksum: the range lies outside the document");
    TVxChecksumSet set(kinds);
    {
        TPipeline pipeline(set);
        int64_t done = 0;
        for (int i = 0; done < count; i ^= 1) {
            const int32_t n = int32_t(std::min<int64_t>(kBlock, count - done));
            uint8_t *buf = pipeline.Free(i);
            if (doc.ReadInto(int32_t(offset + done), buf, n) != n)
                throw std::runtime_error("checksum: the document ended early");
            pipeline.Submit(i, n);
            done += n;
            if (progress)
                progress->Report(done, count, true);
        }
        pipeline.Finish();
    }
    return set.Results();
}
