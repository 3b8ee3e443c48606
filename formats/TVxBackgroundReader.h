#pragma once
// Reads a file from its start to its end in blocks on a thread of its own, one block ahead
// of the caller: an import decodes one block while the system copies the next one out of
// the file, which costs about as much as the decoding. Two buffers take turns.
//
// Memory: the two blocks. Errors: a failed read (std::system_error) is thrown to the caller
// from the Next that would have returned its block; destroying the reader early waits for
// the read under way.
//
// Who calls: TVxImporter, once per pass over its input.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

class TFileHandle;

class TVxBackgroundReader {
public:
    TVxBackgroundReader(const TFileHandle &file, size_t blockSize);
    ~TVxBackgroundReader();
    TVxBackgroundReader(const TVxBackgroundReader &) = delete;
    TVxBackgroundReader &operator=(const TVxBackgroundReader &) = delete;

    // The next block of the file in block (swapped with the reader's, so block's old contents
    // are given up); returns its length, 0 at the end of the file.
    size_t Next(std::vector<char> &block);

private:
    void Run();

    const TFileHandle &FFile;
    std::mutex FLock;
    std::condition_variable FChanged;
    std::vector<char> FBlock;
    size_t FLength = 0;
    bool FFull = false;
    bool FStop = false;
    std::exception_ptr FError;
    std::thread FThread;
};
