#pragma once
// Writes blocks of text or bytes to a file on a thread of its own, so that the caller makes
// the next block while the last one is being written: the encoding of an export and the
// decoding of an import overlap the system's copying into the file, which is as slow as
// they are. Two buffers take turns: the caller fills one while the thread writes the other.
//
// Memory: the two buffers, swapped, never copied. Errors: a failed write (std::system_error)
// is thrown to the caller from its next Write or from Finish; destroying the writer without
// Finish (the caller is failing anyway) waits for the write under way and drops its error.
//
// Who calls: TVxExporter, TVxImporter.

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

class TFileHandle;

class TVxBackgroundWriter {
public:
    explicit TVxBackgroundWriter(TFileHandle &file);
    ~TVxBackgroundWriter();
    TVxBackgroundWriter(const TVxBackgroundWriter &) = delete;
    TVxBackgroundWriter &operator=(const TVxBackgroundWriter &) = delete;

    // Hands block over to be written at pos and gives back in block the other buffer, empty
    // (with its capacity), to fill next. Waits while the previous block is still being
    // written.
    void Write(int64_t pos, std::string &block);
    // Returns once everything handed over is in the file.
    void Finish();

private:
    void Run();
    // Waits until the thread holds no block; rethrows its error. Called with the lock held.
    void WaitIdle(std::unique_lock<std::mutex> &lock);

    TFileHandle &FFile;
    std::mutex FLock;
    std::condition_variable FChanged;
    std::string FBlock;
    int64_t FPos = 0;
    bool FFull = false;
    bool FStop = false;
    std::exception_ptr FError;
    std::thread FThread;
};
