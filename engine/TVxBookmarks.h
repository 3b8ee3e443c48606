#pragma once
// The document's bookmarks: named, coloured byte ranges that follow the bytes they mark.
//
// Each bookmark has an identity (Id) that stays while the bookmark lives, so that an undo
// can put back exactly what an edit took away or cut short. The list is kept sorted by
// offset, then length, then identity. Add and Toggle keep one bookmark per range; edits may
// bring two onto the same bytes, and both stay.
//
// How edits move them (TVxDocument applies every primitive edit here, as it does to
// TVxChangedBytes, the reverts of undo and redo included):
//  - bytes inserted at or before a bookmark's first byte move it up; inserted strictly
//    inside it (after its first byte, before its end) make it longer;
//  - a deletion moves what follows it down, removes a bookmark it covers wholly and cuts
//    short one it covers in part;
//  - overwrites leave them alone.
// Insert and Delete return the bookmarks as they were before the edit changed them other
// than by moving (removed or cut short): the edit's undo record keeps them, and when the undo
// has put the bytes back, Restore puts those bookmarks back as they were.
//
// Cost: O(n) per edit for the shift of the bookmarks after it (a list of splices: see
// Splice), O(n) for the bookmarks of a painted range (a long one that starts far before it
// may reach into it), O(log n) for the next and previous one. 10,000 bookmarks cost about
// 10 µs an edit.
//
// Who calls: TVxDocument (edits, undo); the view (painting, caret moves); the bookmark
// commands of the program.

#include "TVxSplice.h"

#include <cstdint>
#include <string>
#include <vector>

struct TVxBookmark {
    int64_t Id = 0;
    int32_t Offset = 0;
    int32_t Length = 1;
    std::string Name;
    uint32_t Color = 0x00FFFF; // 0xBBGGRR, the settings' way
    int64_t End() const { return int64_t(Offset) + Length; }
    bool operator==(const TVxBookmark &o) const
    {
        return Id == o.Id && Offset == o.Offset && Length == o.Length && Name == o.Name && Color == o.Color;
    }
};

class TVxBookmarks {
public:
    const std::vector<TVxBookmark> &All() const { return FMarks; }
    bool Empty() const { return FMarks.empty(); }
    size_t Count() const { return FMarks.size(); }

    // Adds a bookmark over [offset, offset + length) (length at least 1) and returns its Id;
    // if one with that offset and length exists it is replaced in place (same Id, new name
    // and colour).
    int64_t Add(int32_t offset, int32_t length, const std::string &name, uint32_t color);
    // Removes the bookmark over exactly [offset, offset + length) if there is one, else adds
    // one there; true when it added.
    bool Toggle(int32_t offset, int32_t length, const std::string &name, uint32_t color);
    bool Remove(int64_t id);
    // Changes the name and colour of a bookmark; false when there is none with that Id.
    bool Change(int64_t id, const std::string &name, uint32_t color);
    const TVxBookmark *Find(int64_t id) const;
    void Clear() { FMarks.clear(); }

    // The first bookmark starting after `offset`, else (wrapping) the first of all; the last
    // starting before it, else the last of all. Null when there are none.
    const TVxBookmark *Next(int32_t offset) const;
    const TVxBookmark *Previous(int32_t offset) const;
    // The bookmarks that share a byte with [first, end), in order.
    std::vector<TVxBookmark> Intersecting(int32_t first, int32_t end) const;

    // Edits (see the class comment); each returns the bookmarks it removed or cut short, as
    // they were before.
    std::vector<TVxBookmark> Insert(int32_t offset, int32_t count);
    std::vector<TVxBookmark> Delete(int32_t offset, int32_t count);
    // A list of splices (TVxSplice) as one edit: each splice whose sizes differ is a Delete of
    // its old bytes and an Insert of its new ones at its place once those before it are
    // applied; one of equal sizes rewrites bytes in place and moves nothing. Each bookmark is
    // taken through only the splices that reach it, so a replace-all of a million matches
    // costs O((n + s) log s), not a pass over the bookmarks per splice. Returns each bookmark
    // the list cut or removed once, as it was before the list.
    std::vector<TVxBookmark> Splice(const std::vector<TVxSplice> &splices);
    // Puts back bookmarks as an edit's undo record kept them: each replaces the live bookmark
    // of its Id, or comes back if it was removed. Where an Id is listed more than once (an
    // edit of several steps), its first entry wins.
    void Restore(const std::vector<TVxBookmark> &before);

private:
    void Sort();
    // The bookmark over exactly [offset, offset + length), or the end.
    std::vector<TVxBookmark>::iterator Over(int32_t offset, int32_t length);
    std::vector<TVxBookmark>::iterator WithId(int64_t id);
    std::vector<TVxBookmark> FMarks;
    int64_t FNextId = 1;
};
