#pragma once
// Bulk byte movement between and within files, done by the kernel wherever it can.
//
// Copy: copy_file_range (which reflinks or copies inside the kernel), falling back to a
//   buffered loop only where the kernel refuses (different file systems, old kernels).
// Move: shifts a range inside one file. The kernel refuses overlapping copies within a file,
//   so short shifts go through a small user-space buffer that stays in the CPU cache; long
//   shifts are done by the kernel in pieces no longer than the shift.
// CloneWhole: a reflink of one whole file into another (FICLONE), false where not offered.
//
// Windows copies nothing inside the kernel between open files: Copy goes through a 1 MiB
// buffer there, and CloneWhole is always false.
//
// Copy and Move tell an optional observer how far they got, about every kObservedPiece bytes
// (kernel pieces are cut to that size while someone watches); without one they run exactly
// as before, at no cost.
//
// All of them throw std::system_error on failure. Move is all-or-nothing: when it fails
// half way it moves the bytes already moved back, restores the piece it was writing, and
// only then throws, so the file holds exactly what it held before the call. (If even the
// restoring fails the error message says the file is damaged.)

#include <cstddef>
#include <cstdint>

class TFileHandle;

class TFileCopy {
public:
    // Told the number of bytes finished since its previous call. Must not throw: a Move
    // cannot be stopped half way without undoing what it did.
    class TObserver {
    public:
        virtual void Copied(int64_t bytes) = 0;

    protected:
        ~TObserver() = default;
    };
    static constexpr int64_t kObservedPiece = int64_t(8) << 20;

    static void Copy(const TFileHandle &src, int64_t srcPos, TFileHandle &dst, int64_t dstPos, int64_t count,
                     TObserver *observer = nullptr);
    static void Move(TFileHandle &file, int64_t src, int64_t dst, int64_t count, TObserver *observer = nullptr);
    static bool CloneWhole(const TFileHandle &src, TFileHandle &dst);

    // Buffer of the user-space paths; small enough to stay in the L2 cache.
    static constexpr int64_t kBufferSize = 256 * 1024;

private:
    // Copies through a buffer of `bufferSize` bytes kept by the calling thread: where the
    // kernel cannot copy (a fallback on Linux, the only way on Windows).
    static void CopyThroughBuffer(const TFileHandle &src, int64_t srcPos, TFileHandle &dst, int64_t dstPos,
                                  int64_t count, size_t bufferSize);
};
