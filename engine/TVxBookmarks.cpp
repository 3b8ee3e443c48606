#include "TVxBookmarks.h"

#include <algorithm>
#include <tuple>

namespace {
bool Before(const TVxBookmark &a, const TVxBookmark &b)
{
    return std::tie(a.Offset, a.Length, a.Id) < std::tie(b.Offset, b.Length, b.Id);
}
} // namespace

void TVxBookmarks::Sort() { std::sort(FMarks.begin(), FMarks.end(), Before); }

int64_t TVxBookmarks::Add(int32_t offset, int32_t length, const std::string &name, uint32_t color)
{
    length = std::max(length, 1);
    for (TVxBookmark &m : FMarks)
        if (m.Offset == offset && m.Length == length) {
            m.Name = name;
            m.Color = color;
            return m.Id;
        }
    TVxBookmark m;
    m.Id = FNextId++;
    m.Offset = offset;
    m.Length = length;
    m.Name = name;
    m.Color = color;
    FMarks.insert(std::upper_bound(FMarks.begin(), FMarks.end(), m, Before), m);
    return m.Id;
}

bool TVxBookmarks::Toggle(int32_t offset, int32_t length, const std::string &name, uint32_t color)
{
    length = std::max(length, 1);
    const auto it = std::find_if(FMarks.begin(), FMarks.end(),
                                 [&](const TVxBookmark &m) { return m.Offset == offset && m.Length == length; });
    if (it != FMarks.end()) {
        FMarks.erase(it);
        return false;
    }
    Add(offset, length, name, color);
    return true;
}

bool TVxBookmarks::Remove(int64_t id)
{
    const auto it = std::find_if(FMarks.begin(), FMarks.end(), [&](const TVxBookmark &m) { return m.Id == id; });
    if (it == FMarks.end())
        return false;
    FMarks.erase(it);
    return true;
}

bool TVxBookmarks::Change(int64_t id, const std::string &name, uint32_t color)
{
    for (TVxBookmark &m : FMarks)
        if (m.Id == id) {
            m.Name = name;
            m.Color = color;
            return true;
        }
    return false;
}

const TVxBookmark *TVxBookmarks::Find(int64_t id) const
{
    for (const TVxBookmark &m : FMarks)
        if (m.Id == id)
            return &m;
    return nullptr;
}

const TVxBookmark *TVxBookmarks::Next(int32_t offset) const
{
    if (FMarks.empty())
        return nullptr;
    const auto it = std::upper_bound(FMarks.begin(), FMarks.end(), offset,
                                     [](int32_t o, const TVxBookmark &m) { return o < m.Offset; });
    return it == FMarks.end() ? &FMarks.front() : &*it;
}

const TVxBookmark *TVxBookmarks::Previous(int32_t offset) const
{
    if (FMarks.empty())
        return nullptr;
    const auto it = std::lower_bound(FMarks.begin(), FMarks.end(), offset,
                                     [](const TVxBookmark &m, int32_t o) { return m.Offset < o; });
    return it == FMarks.begin() ? &FMarks.back() : &*std::prev(it);
}

std::vector<TVxBookmark> TVxBookmarks::Intersecting(int32_t first, int32_t end) const
{
    std::vector<TVxBookmark> out;
    // Sorted by offset only, a long bookmark far before `first` may still reach into it:
    // every bookmark before `end` is a candidate.
    const auto stop = std::lower_bound(FMarks.begin(), FMarks.end(), end,
                                       [](const TVxBookmark &m, int32_t o) { return m.Offset < o; });
    for (auto it = FMarks.begin(); it != stop; ++it)
        if (it->End() > first)
            out.push_back(*it);
    return out;
}

std::vector<TVxBookmark> TVxBookmarks::Insert(int32_t offset, int32_t count)
{
    std::vector<TVxBookmark> before;
    if (count <= 0)
        return before;
    for (TVxBookmark &m : FMarks) {
        if (m.Offset >= offset) {
            m.Offset += count;
        } else if (m.End() > offset) {
            before.push_back(m);
            m.Length += count;
        }
    }
    return before;
}

std::vector<TVxBookmark> TVxBookmarks::Delete(int32_t offset, int32_t count)
{
    std::vector<TVxBookmark> before;
    if (count <= 0)
        return before;
    const int64_t end = int64_t(offset) + count;
    std::vector<TVxBookmark> kept;
    kept.reserve(FMarks.size());
    for (TVxBookmark m : FMarks) {
        if (m.End() <= offset) {
            kept.push_back(m);
            continue;
        }
        if (m.Offset >= end) {
            m.Offset -= count;
            kept.push_back(m);
            continue;
        }
        before.push_back(m);
        // What is left of it: the part before the deletion and the part after, joined.
        const int64_t left = std::max<int64_t>(0, offset - m.Offset) + std::max<int64_t>(0, m.End() - end);
        if (left == 0)
            continue;
        m.Offset = std::min(m.Offset, offset);
        m.Length = static_cast<int32_t>(left);
        kept.push_back(m);
    }
    FMarks.swap(kept);
    Sort();
    return before;
}

void TVxBookmarks::Restore(const std::vector<TVxBookmark> &before)
{
    // An edit made of steps lists a bookmark once per step that changed it, oldest first:
    // the first state must win, so the list is applied from its end.
    for (auto it = before.rbegin(); it != before.rend(); ++it) {
        const TVxBookmark &b = *it;
        Remove(b.Id);
        FMarks.push_back(b);
        FNextId = std::max(FNextId, b.Id + 1);
    }
    Sort();
}
