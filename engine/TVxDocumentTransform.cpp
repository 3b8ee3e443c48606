// Rewrites in place (fills, bit operations): a same-size edit streamed block by block, so a
// 2 GiB range costs one kernel copy into the undo store and one read and write of the range.

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
    // The buffer first: running out of memory must not leave half an edit.
    const int32_t block = std::min(count, TVxByteTransform::kBlock);
    auto buf = std::make_unique<uint8_t[]>(static_cast<size_t>(block));
    TVxUndoBlock old;
    {
        TChange change(*this, FWork.FlushBytes() + 2 * int64_t(count));
        // A window that typing resized moves the tail when written back: that part cannot be
        // stopped halfway, and it changes no byte of the document.
        FWork.FlushCache(&change.Steps);
        change.Steps.SetCancellable(true);
        old = FStore.Capture(FWork, offset, count, &change.Steps);
        try {
            for (int64_t pos = 0; pos < count; pos += block) {
                const int32_t n = static_cast<int32_t>(std::min<int64_t>(block, count - pos));
                const int32_t at = static_cast<int32_t>(offset + pos);
                if (FWork.ReadInto(at, buf.get(), n) != n)
                    throw std::runtime_error("TransformRange: short read of the working copy");
                transform.Apply(pos, buf.get(), n);
                FWork.WriteBlock(at, buf.get(), n, &change.Steps);
            }
        } catch (...) {
            FStore.Restore(old, FWork, offset);
            throw;
        }
        change.Steps.SetCancellable(false);
        change.Steps.Finish();
    }
    FChanges.Add(offset, count);
    FChangedBytes.Overwrite(offset, count);
    if (recordUndo)
        AddRecord(ukReplaceRange, offset, offset + count - 1, 0, std::move(old), count);
    FHooks->ContentChanged();
}
