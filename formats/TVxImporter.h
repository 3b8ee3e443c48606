#pragma once
// Reads an Intel HEX or S-record file into a memory image: the bytes from the lowest to the
// highest address the records give, the gaps between them filled with one byte, written to
// a new temporary file (TTempFile::Create) that the document then takes as its working copy
// (TVxDocument::LoadUntitled).
//
// The first pass over the input checks every record (TVxRecordReader), that no two give the
// same address and that the image fits a document, and learns where the runs of data lie.
// While no record lies below the file's first one (files written in address order), it
// writes the data as it goes, and one pass is all; otherwise a second pass writes it once
// the lowest address is known. The gaps between the runs are filled last, each once. Bad
// input found late has cost the disk space of the data before it, freed with the unnamed
// image file. Memory: a block of the text (256 KiB, read and decoded by TVxRecordLines on
// this thread: reading it on another was no faster, the text then crossing between the
// processor's cores), two output blocks (1 MiB each: the image is written on a
// TVxBackgroundWriter's thread while the next block is gathered), and one entry per run of
// adjacent records (one for a file written in order).
//
// Progress: one cancellable operation over both passes (twice the input's size). Errors:
// TVxFormatError naming the line (the last line for a missing end record), std::system_error
// for the files, TVxCancelled; the image file is then gone.
//
// Who calls: the import commands of the program (app/formats); tests.

#include "TTempFile.h"
#include "TVxRecordReader.h"

#include <cstdint>
#include <map>
#include <string>

class TVxProgress;

class TVxImporter {
public:
    TVxImporter(TVxRecordReader::TFormat format, uint8_t fill);

    TTempFile Import(const std::string &path, TVxProgress *progress);
    // The same into `image`, a new empty file the caller made: an image meant for another
    // process goes to a named file, which is deleted like any temporary file when the input
    // turns out bad.
    TTempFile Import(const std::string &path, TVxProgress *progress, TTempFile image);

    // After Import: the address of the image's first byte, and its size.
    uint32_t Lowest() const { return static_cast<uint32_t>(FLowest); }
    int64_t Size() const { return FHighest - FLowest; }

private:
    // Reads the records of the file and calls fn(record, line) for each line until it
    // returns false; returns the number of the last line. A template (defined where it is
    // used) so that the call per line is inlined: files of millions of short lines spend
    // their time here.
    template <typename TRecordFn>
    int64_t ForEachRecord(const TFileHandle &in, int64_t pass, TRecordFn &&fn);
    // The first pass: checks every record and learns the runs; writes the data into out as
    // it goes while no record lies below the first one. False when one did: then nothing
    // useful is in out, and Write must do a second pass.
    bool Scan(const TFileHandle &in, TFileHandle &out);
    void Write(const TFileHandle &in, TFileHandle &out);
    // Writes the fill byte between the runs.
    void FillGaps(TFileHandle &out);
    // Records the run [address, address + count) of line, merging it with its neighbours;
    // throws when it overlaps a run already there.
    void AddRun(uint64_t address, uint64_t count, int64_t line);
    void Report(int64_t done);

    TVxRecordReader::TFormat FFormat;
    uint8_t FFill;
    TVxProgress *FProgress = nullptr;
    int64_t FInputSize = 0;
    // Runs of data: start address to end address (exclusive).
    std::map<uint64_t, uint64_t> FRuns;
    // The run the last record joined: records written in order extend it without a search.
    std::map<uint64_t, uint64_t>::iterator FLast = FRuns.end();
    uint64_t FLowest = 0;
    uint64_t FHighest = 0;
};
