#pragma once
// The lookup table of the settings file: the first line that holds each section name, and
// each key name inside a section, so that looking a key up costs the same in a file of ten
// lines as in one of a million, and reading every key of a section is linear.
//
// Names belong to a group (for a key, the line of its section; -1 for the section names
// themselves) and compare without regard to ASCII case, as the profile functions compare
// them. A slot holds only the name's hash, its group and its line - 16 bytes however long
// the name - and the caller compares the names themselves through `same(line)`, which is
// asked only when hash and group match. Open addressing, at most half full, so a lookup
// inspects a couple of slots on average.
//
// Who calls: TIniText, which rebuilds the table after changes that move lines.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

class TNameIndex {
public:
    // Of the name folded to lower case; equal names of one group hash alike.
    static uint64_t Hash(std::string_view name, int32_t group);

    // Empties the table, sized for about `expected` names.
    void Clear(size_t expected);
    size_t Size() const { return FUsed; }

    // The line of the name, or -1 when it was never added.
    template <class Same>
    int32_t Find(uint64_t hash, int32_t group, const Same &same) const
    {
        if (FSlots.empty())
            return -1;
        for (size_t i = hash & (FSlots.size() - 1);; i = (i + 1) & (FSlots.size() - 1)) {
            const TSlot &s = FSlots[i];
            if (s.Line < 0)
                return -1;
            if (s.Hash == hash && s.Group == group && same(s.Line))
                return s.Line;
        }
    }

    // Adds the name at `line` unless it is there already; returns the line that holds it
    // first (`line` when it was new).
    template <class Same>
    int32_t Add(uint64_t hash, int32_t group, int32_t line, const Same &same)
    {
        if ((FUsed + 1) * 2 > FSlots.size())
            Grow();
        for (size_t i = hash & (FSlots.size() - 1);; i = (i + 1) & (FSlots.size() - 1)) {
            TSlot &s = FSlots[i];
            if (s.Line < 0) {
                s = TSlot{hash, group, line};
                ++FUsed;
                return line;
            }
            if (s.Hash == hash && s.Group == group && same(s.Line))
                return s.Line;
        }
    }

private:
    struct TSlot {
        uint64_t Hash = 0;
        int32_t Group = 0;
        int32_t Line = -1; // -1: free
    };
    void Grow();

    std::vector<TSlot> FSlots; // a power of two in size, or empty
    size_t FUsed = 0;
};
