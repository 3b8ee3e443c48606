#include "TNameIndex.h"

uint64_t TNameIndex::Hash(std::string_view name, int32_t group)
{
    // FNV-1a over the folded bytes, then the group, then a finaliser so that the low bits
    // the table uses depend on every byte.
    uint64_t h = 14695981039346656037ull;
    for (char c : name) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
        h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    h ^= static_cast<uint32_t>(group) + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
    h ^= h >> 30;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 27;
    h *= 0x94D049BB133111EBull;
    h ^= h >> 31;
    return h;
}

void TNameIndex::Clear(size_t expected)
{
    size_t n = 16;
    while (n < expected * 2)
        n *= 2;
    FSlots.assign(n, TSlot{});
    FUsed = 0;
}

void TNameIndex::Grow()
{
    std::vector<TSlot> old;
    old.swap(FSlots);
    FSlots.assign(old.empty() ? 16 : old.size() * 2, TSlot{});
    for (const TSlot &s : old) {
        if (s.Line < 0)
            continue;
        size_t i = s.Hash & (FSlots.size() - 1);
        while (FSlots[i].Line >= 0)
            i = (i + 1) & (FSlots.size() - 1);
        FSlots[i] = s;
    }
}
