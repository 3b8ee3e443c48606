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

std::vector<TVxBookmark>::iterator TVxBookmarks::Over(int32_t offset, int32_t length)
{
    return std::find_if(FMarks.begin(), FMarks.end(),
                        [&](const TVxBookmark &m) { return m.Offset == offset && m.Length == length; });
}

int64_t TVxBookmarks::Add(int32_t offset, int32_t length, const std::string &name, uint32_t color)
{
    length = std::max(length, 1);
    const auto it = Over(offset, length);
    if (it != FMarks.end()) {
        it->Name = name;
        it->Color = color;
        return it->Id;
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
    const auto it = Over(offset, length);
    if (it != FMarks.end()) {
        FMarks.erase(it);
        return false;
    }
    Add(offset, length, name, color);
    return true;
}

std::vector<TVxBookmark>::iterator TVxBookmarks::WithId(int64_t id)
{
    return std::find_if(FMarks.begin(), FMarks.end(), [&](const TVxBookmark &m) { return m.Id == id; });
}

bool TVxBookmarks::Remove(int64_t id)
{
    const auto it = WithId(id);
    if (it == FMarks.end())
        return false;
    FMarks.erase(it);
    return true;
}

bool TVxBookmarks::Change(int64_t id, const std::string &name, uint32_t color)
{
    const auto it = WithId(id);
    if (it == FMarks.end())
        return false;
    it->Name = name;
    it->Color = color;
    return true;
}

const TVxBookmark *TVxBookmarks::Find(int64_t id) const
{
    const auto it = std::find_if(FMarks.begin(), FMarks.end(), [&](const TVxBookmark &m) { return m.Id == id; });
    return it == FMarks.end() ? nullptr : &*it;
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

std::vector<TVxBookmark> TVxBookmarks::Splice(const std::vector<TVxSplice> &splices)
{
    std::vector<TVxBookmark> before;
    // shift[k]: how far the splices before splice k move what follows them.
    std::vector<int64_t> shift(splices.size() + 1, 0);
    for (size_t k = 0; k < splices.size(); ++k)
        shift[k + 1] = shift[k] + splices[k].NewCount - splices[k].OldCount;
    std::vector<TVxBookmark> kept;
    kept.reserve(FMarks.size());
    for (const TVxBookmark &m : FMarks) {
        // The splices that end at or before the bookmark only move it.
        size_t k = size_t(std::partition_point(splices.begin(), splices.end(), [&](const TVxSplice &s) {
                              return int64_t(s.Offset) + s.OldCount <= m.Offset;
                          }) - splices.begin());
        int64_t first = m.Offset + shift[k], end = m.End() + shift[k];
        bool touched = false;
        for (; k < splices.size(); ++k) {
            const TVxSplice &s = splices[k];
            const int64_t at = s.Offset + shift[k];
            if (at >= end)
                break; // this one and the rest lie after it
            if (s.OldCount == s.NewCount)
                continue;
            // As Delete(at, OldCount), then Insert(at, NewCount).
            if (s.OldCount > 0) {
                if (first >= at + s.OldCount) {
                    first -= s.OldCount;
                    end -= s.OldCount;
                } else {
                    touched = true;
                    const int64_t left = std::max<int64_t>(0, at - first) + std::max<int64_t>(0, end - (at + s.OldCount));
                    first = std::min(first, at);
                    end = first + left;
                    if (left == 0)
                        break;
                }
            }
            if (s.NewCount > 0) {
                if (first >= at) {
                    first += s.NewCount;
                    end += s.NewCount;
                } else if (end > at) {
                    touched = true;
                    end += s.NewCount;
                }
            }
        }
        if (touched)
            before.push_back(m);
        if (end == first)
            continue;
        TVxBookmark moved = m;
        moved.Offset = static_cast<int32_t>(first);
        moved.Length = static_cast<int32_t>(end - first);
        kept.push_back(std::move(moved));
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
