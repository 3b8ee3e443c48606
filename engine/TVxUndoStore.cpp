#include "TVxUndoStore.h"

#include "TVxProgressSteps.h"
#include "TVxWorkCopy.h"

#include <algorithm>
#include <cstring>
#include <iterator>

// ---------------------------------------------------------------------------------------
// TVxUndoBlock

TVxUndoBlock::~TVxUndoBlock() { Release(); }

TVxUndoBlock::TVxUndoBlock(TVxUndoBlock &&other) noexcept
    : FStore(other.FStore), FMem(std::move(other.FMem)), FPos(other.FPos), FSize(other.FSize)
{
    other.FStore = nullptr;
    other.FPos = -1;
    other.FSize = 0;
}

TVxUndoBlock &TVxUndoBlock::operator=(TVxUndoBlock &&other) noexcept
{
    if (this != &other) {
        Release();
        FStore = other.FStore;
        FMem = std::move(other.FMem);
        FPos = other.FPos;
        FSize = other.FSize;
        other.FStore = nullptr;
        other.FPos = -1;
        other.FSize = 0;
    }
    return *this;
}

void TVxUndoBlock::Release() noexcept
{
    if (FStore)
        FStore->Free(*this);
    FStore = nullptr;
    FMem.reset();
    FPos = -1;
    FSize = 0;
}

// ---------------------------------------------------------------------------------------
// TVxUndoStore

TVxUndoStore::~TVxUndoStore() = default;

void TVxUndoStore::SetLimits(int32_t spillThreshold, int64_t memoryCap)
{
    FThreshold = spillThreshold;
    FCap = memoryCap;
}

bool TVxUndoStore::ShouldSpill(int64_t count) const { return count > FThreshold || FMemory + count > FCap; }

int64_t TVxUndoStore::Allocate(int64_t count)
{
    if (!FFile.IsOpen()) {
        FFile = TTempFile::Create();
        FEnd = 0;
    }
    FFile.Handle().SetPath(FLabel);
    return FEnd;
}

TVxUndoBlock TVxUndoStore::Spilled(int64_t pos, int32_t count)
{
    TVxUndoBlock b;
    b.FStore = this;
    b.FPos = pos;
    b.FSize = count;
    FLive[pos] = count;
    FEnd = pos + count;
    FSpilled += count;
    return b;
}

TVxUndoBlock TVxUndoStore::OnHeap(std::unique_ptr<uint8_t[]> bytes, int32_t count)
{
    TVxUndoBlock b;
    b.FStore = this;
    b.FMem = std::move(bytes);
    b.FSize = count;
    FMemory += count;
    FPeak = std::max(FPeak, FMemory);
    return b;
}

TVxUndoBlock TVxUndoStore::Capture(const TVxWorkCopy &work, int32_t offset, int32_t count, TVxProgressSteps *steps)
{
    TFileCopy::TObserver *observer = TVxProgressSteps::Step(steps, count);
    if (count <= 0)
        return OnHeap(nullptr, 0);
    if (!ShouldSpill(count)) {
        auto bytes = std::make_unique<uint8_t[]>(static_cast<size_t>(count));
        work.ReadInto(offset, bytes.get(), count);
        return OnHeap(std::move(bytes), count);
    }
    const int64_t pos = Allocate(count);
    try {
        work.CopyRangeTo(offset, count, FFile.Handle(), pos, observer);
    } catch (...) {
        // Whatever the copy got into the file lies past every live block.
        if (FLive.empty())
            FFile.Remove();
        else
            FFile.Handle().Discard(pos, count);
        throw;
    }
    return Spilled(pos, count);
}

TVxUndoBlock TVxUndoStore::Adopt(std::unique_ptr<uint8_t[]> bytes, int32_t count)
{
    if (count > 0 && ShouldSpill(count)) {
        try {
            const int64_t pos = Allocate(count);
            FFile.Handle().WriteAt(pos, bytes.get(), static_cast<size_t>(count));
            return Spilled(pos, count);
        } catch (const std::exception &) {
            // The edit has already happened: its bytes stay on the heap rather than be lost.
            if (FLive.empty())
                FFile.Remove();
        }
    }
    return OnHeap(std::move(bytes), count);
}

void TVxUndoStore::Restore(const TVxUndoBlock &block, TVxWorkCopy &work, int32_t offset, TVxProgressSteps *steps) const
{
    if (block.Spilled())
        work.CopyIn(FFile.Handle(), block.FPos, offset, block.FSize, steps);
    else
        work.WriteBlock(offset, block.FMem.get(), block.FSize, steps);
}

std::vector<uint8_t> TVxUndoStore::Read(const TVxUndoBlock &block) const
{
    std::vector<uint8_t> out(static_cast<size_t>(block.FSize));
    if (block.Spilled())
        FFile.Handle().ReadExact(block.FPos, out.data(), out.size());
    else if (block.FSize > 0)
        std::memcpy(out.data(), block.FMem.get(), out.size());
    return out;
}

void TVxUndoStore::Free(const TVxUndoBlock &block) noexcept
{
    if (!block.Spilled()) {
        FMemory -= block.FSize;
        return;
    }
    FLive.erase(block.FPos);
    FSpilled -= block.FSize;
    if (FLive.empty()) {
        // Nothing spilled any more: the file goes, and with it every byte of disk it held.
        FFile.Remove();
        FEnd = 0;
        return;
    }
    const auto last = std::prev(FLive.end());
    const int64_t end = last->first + last->second;
    if (end < FEnd) {
        // The newest block went (the usual order of undo): cut the file back.
        if (!FFile.Handle().TrySetLength(end))
            FFile.Handle().Discard(end, FEnd - end);
        FEnd = end;
    } else {
        FFile.Handle().Discard(block.FPos, block.FSize);
    }
}
