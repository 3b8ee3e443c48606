#include "TFileCopy.h"
#include "TFileHandle.h"

#include <algorithm>
#include <string>
#include <system_error>
#include <vector>

// The parts of copying that need no system service beyond reading and writing at offsets:
// the buffered copy and the all-or-nothing move. Copy and CloneWhole are per system.
namespace {
// Moves without rollback; reports how far it got through `moved` (bytes whose destination
// is fully written) so the caller can undo exactly that much. On failure, `pending` holds
// the piece whose write was interrupted (its original bytes and their source position).
struct TMoveProgress {
    int64_t moved = 0;
    std::vector<char> pending;
    int64_t pendingSrc = -1;
};

void MoveRaw(TFileHandle &f, int64_t src, int64_t dst, int64_t count, TMoveProgress &prog,
             TFileCopy::TObserver *observer = nullptr)
{
    const int64_t shift = dst - src;
    const int64_t dist = shift < 0 ? -shift : shift;
    const bool up = shift > 0;
    // Long shifts: copies of pieces that cannot overlap their own source, so a piece that
    // fails half way has destroyed nothing that the undo needs.
    const bool longShift = dist >= (4 << 20);
    int64_t piece = longShift ? std::min<int64_t>(dist, 64 << 20) : TFileCopy::kBufferSize;
    if (observer)
        piece = std::min(piece, TFileCopy::kObservedPiece);
    int64_t told = 0;
    std::vector<char> buf;
    if (!longShift)
        buf.resize(static_cast<size_t>(piece));
    while (prog.moved < count) {
        const int64_t n = std::min(piece, count - prog.moved);
        // Upward shifts run from the top so no source byte is overwritten before it is read.
        const int64_t from = up ? src + count - prog.moved - n : src + prog.moved;
        if (longShift) {
            TFileCopy::Copy(f, from, f, from + shift, n);
        } else {
            f.ReadExact(from, buf.data(), static_cast<size_t>(n));
            try {
                f.WriteAt(from + shift, buf.data(), static_cast<size_t>(n));
            } catch (...) {
                prog.pending.assign(buf.begin(), buf.begin() + n);
                prog.pendingSrc = from;
                throw;
            }
        }
        prog.moved += n;
        // Pieces are small: the observer hears of them in kObservedPiece steps.
        if (observer && (prog.moved - told >= TFileCopy::kObservedPiece || prog.moved == count)) {
            observer->Copied(prog.moved - told);
            told = prog.moved;
        }
    }
}
} // namespace

void TFileCopy::CopyThroughBuffer(const TFileHandle &src, int64_t srcPos, TFileHandle &dst, int64_t dstPos,
                                  int64_t count, size_t bufferSize)
{
    // One buffer for the thread's whole life: a fresh one per call costs page faults (and,
    // under Wine, a mapping) on every chunk of a load.
    thread_local std::vector<char> buf;
    if (buf.size() < bufferSize)
        buf.resize(bufferSize);
    while (count > 0) {
        const size_t n = static_cast<size_t>(std::min<int64_t>(count, static_cast<int64_t>(bufferSize)));
        src.ReadExact(srcPos, buf.data(), n);
        dst.WriteAt(dstPos, buf.data(), n);
        srcPos += static_cast<int64_t>(n);
        dstPos += static_cast<int64_t>(n);
        count -= static_cast<int64_t>(n);
    }
}

void TFileCopy::Move(TFileHandle &file, int64_t src, int64_t dst, int64_t count, TObserver *observer)
{
    if (count <= 0 || src == dst)
        return;
    TMoveProgress prog;
    try {
        MoveRaw(file, src, dst, count, prog, observer);
    } catch (const std::system_error &e) {
        try {
            if (prog.pendingSrc >= 0)
                file.WriteAt(prog.pendingSrc, prog.pending.data(), prog.pending.size());
            if (prog.moved > 0) {
                // The moved bytes sit at the far end of the range, in one piece.
                const int64_t shift = dst - src;
                const int64_t movedSrc = shift > 0 ? src + count - prog.moved : src;
                TMoveProgress back;
                MoveRaw(file, movedSrc + shift, movedSrc, prog.moved, back);
            }
        } catch (const std::system_error &) {
            throw std::system_error(e.code(), std::string(e.what()) + " (the file could not be restored)");
        }
        throw;
    }
}
