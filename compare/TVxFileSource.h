#pragma once
// A file opened read-only as a compare's side (B, the other file): its length is taken once
// at opening and every read must find the bytes up to it, so a file another program shortens
// meanwhile throws instead of comparing garbage.
//
// Errors: opening throws std::system_error (missing, unreadable) and TVxError for anything
// that is no regular file (OpenNotRegular) or is longer than kMaxSize bytes (OpenTooLarge);
// a read past the length seen throws std::system_error (EIO) naming the file.
// Who calls: the program's compare command; tests and hexbench.

#include "TFileHandle.h"
#include "TVxByteSource.h"

#include <string>

class TVxFileSource : public TVxByteSource {
public:
    explicit TVxFileSource(const std::string &path);

    int64_t Size() const override { return FSize; }
    void Read(int64_t pos, uint8_t *buf, int32_t count) override;

private:
    TFileHandle FFile;
    int64_t FSize = 0;
};
