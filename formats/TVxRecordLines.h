#pragma once
// The lines of a record file from its start, decoded (TVxRecordReader::DecodeLine) one at a
// time as they are asked for: the text is read in blocks small enough to be still in the
// processor's cache when their lines are decoded, and the lines tools write, ended as their
// length fields say, are decoded without looking for their ends (DecodeWhole).
//
// Every line of the file once and in order, blank ones too, so that the caller can count
// lines; the last line need not end with a line end. A line longer than any record is a
// BadLength fault, and the last line given.
//
// Memory: one block of text (256 KiB) and one line running over its end. Errors: a failed
// read (std::system_error). Who calls: TVxImporter, once per pass over its input.

#include "TVxRecordReader.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TFileHandle;

class TVxRecordLines {
public:
    TVxRecordLines(const TFileHandle &file, TVxRecordReader::TFormat format);

    // The next line, valid until the next call; nullptr after the last one.
    const TVxRecordReader::TLine *Next();
    // How far into the file the lines given so far reach (for progress).
    int64_t Read() const { return FPos - (FEnd - FAt); }

private:
    const TVxRecordReader::TLine *Decode(const char *text, size_t length);
    // A line running over the end of the text read so far, too long for a record.
    const TVxRecordReader::TLine *TooLong();

    const TFileHandle &FFile;
    const TVxRecordReader::TFormat FFormat;
    std::vector<char> FText;
    const char *FAt = nullptr;
    const char *FEnd = nullptr;
    int64_t FPos = 0;
    std::string FCarry;
    bool FOver = false;
    TVxRecordReader::TLine FLine;
};
