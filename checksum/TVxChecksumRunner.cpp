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
// Milliseconds a GiB of each kind takes on the development machine (2 cores, hexbench), in the
// enumeration's order: what splitting the kinds over two workers goes by.
constexpr std::array<int, TVxChecksumKinds::kCount> kCost{
    600, 600, 190, 150, 200, 100, 100, 100, 100, 100, 1450, 590, 620, 1300, 2060,
};
// Reading a GiB of the document costs about this much; a second worker only pays when its
// share takes longer, as the two then share the cores with the reading.
constexpr int kReadCost = 100;

// The kinds in one or two groups of about equal cost, the costliest placed first.
std::vector<std::vector<TVxChecksum>> Split(std::vector<TVxChecksum> kinds)
{
    std::sort(kinds.begin(), kinds.end(), [](TVxChecksum a, TVxChecksum b) { return kCost[size_t(a)] > kCost[size_t(b)]; });
    std::vector<std::vector<TVxChecksum>> groups(2);
    int cost[2] = {0, 0};
    for (TVxChecksum k : kinds) {
        const int g = cost[1] < cost[0] ? 1 : 0;
        groups[size_t(g)].push_back(k);
        cost[g] += kCost[size_t(k)];
    }
    if (std::min(cost[0], cost[1]) < kReadCost) {
        groups[0].insert(groups[0].end(), groups[1].begin(), groups[1].end());
        groups.pop_back();
    }
    return groups;
}

// Two buffers handed from the reading thread to the workers, which each take every block in
// turn; a buffer is filled again once every worker is done with it.
class TPipeline {
public:
    explicit TPipeline(std::vector<TVxChecksumSet> &sets)
    {
        for (TSlot &s : FSlots)
            s.Data.resize(size_t(TVxChecksumRunner::kBlock));
        for (TVxChecksumSet &set : sets)
            FThreads.emplace_back([this, &set] { Work(set); });
    }
    // Also the way out of a cancel or an error: the workers leave what they have not begun.
    ~TPipeline()
    {
        {
            std::lock_guard<std::mutex> lock(FMutex);
            FAbandon = true;
        }
        FChanged.notify_all();
        for (std::thread &t : FThreads)
            t.join();
    }

    // The buffer of block k once the workers are done with what it held.
    uint8_t *Free(int64_t k)
    {
        TSlot &s = FSlots[size_t(k % 2)];
        std::unique_lock<std::mutex> lock(FMutex);
        FChanged.wait(lock, [&] { return s.Left == 0 || FError; });
        if (FError)
            std::rethrow_exception(FError);
        return s.Data.data();
    }
    void Submit(int64_t k, int32_t count)
    {
        TSlot &s = FSlots[size_t(k % 2)];
        {
            std::lock_guard<std::mutex> lock(FMutex);
            s.Block = k;
            s.Count = count;
            s.Left = int(FThreads.size());
        }
        FChanged.notify_all();
    }
    // Waits until the workers have taken everything submitted.
    void Finish()
    {
        std::unique_lock<std::mutex> lock(FMutex);
        FChanged.wait(lock, [&] { return (FSlots[0].Left == 0 && FSlots[1].Left == 0) || FError; });
        if (FError)
            std::rethrow_exception(FError);
    }

private:
    struct TSlot {
        std::vector<uint8_t> Data;
        int64_t Block = -1;
        int32_t Count = 0;
        int Left = 0; // workers yet to take it
    };

    void Work(TVxChecksumSet &set)
    {
        for (int64_t k = 0;; ++k) {
            TSlot &s = FSlots[size_t(k % 2)];
            {
                std::unique_lock<std::mutex> lock(FMutex);
                FChanged.wait(lock, [&] { return FAbandon || s.Block == k; });
                if (FAbandon)
                    return;
            }
            std::exception_ptr error;
            try {
                set.Update(s.Data.data(), size_t(s.Count));
            } catch (...) {
                error = std::current_exception();
            }
            {
                std::lock_guard<std::mutex> lock(FMutex);
                --s.Left;
                if (error)
                    FError = error;
            }
            FChanged.notify_all();
            if (error)
                return;
        }
    }

    std::array<TSlot, 2> FSlots;
    std::mutex FMutex;
    std::condition_variable FChanged;
    bool FAbandon = false;
    std::exception_ptr FError;
    std::vector<std::thread> FThreads;
};
} // namespace

std::vector<TVxChecksumResult> TVxChecksumRunner::Run(const TVxDocument &doc, int64_t offset, int64_t count,
                                                      const std::vector<TVxChecksum> &kinds, TVxProgress *progress)
{
    if (offset < 0 || count < 0 || offset + count > doc.FileSize())
        throw std::runtime_error("checksum: the range lies outside the document");
    std::vector<TVxChecksumSet> sets;
    for (std::vector<TVxChecksum> &group : Split(kinds))
        sets.emplace_back(std::move(group));
    {
        TPipeline pipeline(sets);
        int64_t done = 0;
        for (int64_t k = 0; done < count; ++k) {
            const int32_t n = int32_t(std::min<int64_t>(kBlock, count - done));
            uint8_t *buf = pipeline.Free(k);
            if (doc.ReadInto(int32_t(offset + done), buf, n) != n)
                throw std::runtime_error("checksum: the document ended early");
            pipeline.Submit(k, n);
            done += n;
            if (progress)
                progress->Report(done, count, true);
        }
        pipeline.Finish();
    }
    std::vector<TVxChecksumResult> results;
    for (TVxChecksumSet &set : sets)
        for (TVxChecksumResult &r : set.Results())
            results.push_back(std::move(r));
    std::sort(results.begin(), results.end(), [](const TVxChecksumResult &a, const TVxChecksumResult &b) { return a.Kind < b.Kind; });
    return results;
}
