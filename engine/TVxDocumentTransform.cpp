// Rewrites in place (fills, bit operations): a same-size edit streamed block by block. An
// invertible one costs a read and a write of the range; any other also one kernel copy of the
// range into the undo store.

#include "TVxDocument.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

void TVxDocument::TransformRange(int32_t offset, int32_t count, TVxByteTransform &transform, bool recordUndo)
{
    if (count <= 0)
        return;
    if (offset < 0 || int64_t(offset) + count > FileSize())
        throw std::out_of_range("TransformRange: range outside the document");
    const std::shared_ptr<TVxByteTransform> inverse = transform.Inverse();
    TVxUndoBlock old;
    {
        TChange change(*this, FWork.FlushBytes() + (inverse ? 1 : 2) * int64_t(count));
        // A window that typing resized moves the tail when written back: that part cannot be
        // stopped halfway, and it changes no byte of the document.
        FWork.FlushCache(&change.Steps);
        change.Steps.SetCancellable(true);
        if (!inverse)
            old = FStore.Capture(FWork, offset, count, &change.Steps);
        try {
            RewriteRange(offset, count, transform, inverse.get(), &change.Steps);
        } catch (...) {
            if (!inverse)
                FStore.Restore(old, FWork, offset);
            throw;
        }
        change.Steps.SetCancellable(false);
        change.Steps.Finish();
    }
    FChanges.Add(offset, count);
    FChangedBytes.Overwrite(offset, count);
    if (recordUndo) {
        TVxUndoRecord r;
        r.Start = offset;
        r.End = offset + count - 1;
        if (inverse) {
            r.Kind = ukTransform;
            r.Transform = inverse;
        } else {
            r.Kind = ukReplaceRange;
            r.Count = count;
            r.Data = std::move(old);
        }
        Record(std::move(r));
        FireChangeUndo();
    }
    FHooks->ContentChanged();
}

void TVxDocument::RewriteRange(int32_t offset, int32_t count, TVxByteTransform &transform,
                               TVxByteTransform *inverse, TVxProgressSteps *steps)
{
    // The buffer first: running out of memory must not leave half an edit.
    const int32_t block = std::min(count, TVxByteTransform::kBlock);
    auto buf = std::make_unique<uint8_t[]>(static_cast<size_t>(block));
    const auto read = [&](int32_t at, int32_t n) {
        if (FWork.ReadInto(at, buf.get(), n) != n)
            throw std::runtime_error("TransformRange: short read of the working copy");
    };
    int64_t done = 0; // bytes rewritten before the current block
    bool writing = false;
    try {
        for (; done < count; done += block) {
            const int32_t n = static_cast<int32_t>(std::min<int64_t>(block, count - done));
            const int32_t at = static_cast<int32_t>(offset + done);
            read(at, n);
            transform.Apply(done, buf.get(), n);
            writing = true;
            FWork.WriteBlock(at, buf.get(), n, steps);
            writing = false;
        }
    } catch (...) {
        if (!inverse)
            throw;
        // The inverse goes over each block on its own; the interrupted one, written in part,
        // from the new bytes still in the buffer.
        const auto length = [&](int64_t pos) { return static_cast<int32_t>(std::min<int64_t>(block, count - pos)); };
        if (writing) {
            inverse->Apply(done, buf.get(), length(done));
            FWork.WriteBlock(static_cast<int32_t>(offset + done), buf.get(), length(done), nullptr);
        }
        for (int64_t pos = 0; pos < done; pos += block) {
            const int32_t at = static_cast<int32_t>(offset + pos);
            read(at, length(pos));
            inverse->Apply(pos, buf.get(), length(pos));
            FWork.WriteBlock(at, buf.get(), length(pos), nullptr);
        }
        throw;
    }
}
