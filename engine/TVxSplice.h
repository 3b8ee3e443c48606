#pragma once
// One replacement inside the document: the OldCount bytes at Offset give way to the NewCount
// bytes at Data (either count may be 0, not both).
//
// A list of splices is in ascending order and does not overlap: each one starts at or after
// the end (Offset + OldCount) of the one before. All offsets are those of the document
// before any of the list is applied, so a list can be applied in one pass.

#include <cstdint>

struct TVxSplice {
    int32_t Offset = 0;
    int32_t OldCount = 0;
    const uint8_t *Data = nullptr;
    int32_t NewCount = 0;
};
