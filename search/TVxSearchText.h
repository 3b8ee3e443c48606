#pragma once
// The current search: the text as the user typed it (UTF-8), its ignore-case flag and
// whether it was typed as hexadecimal bytes; what find next and find previous repeat, shared
// by every running instance. The bytes a text stands for depend on the code the column shows
// when it is searched (TVxSearchEngine makes them); HexBytes() are those of hexadecimal
// digits (TVxHexText; empty when they give none). A search made by hex matches byte for byte
// whatever the flag says, and keeps the flag for the text searches that follow.
//
// SetSearchText is the only way to change them from this instance: when text and both flags
// equal the current ones nothing happens (no sharing, no event); otherwise they are stored,
// handed to OnShare (which writes the shared record and, unless `silent`, tells the other
// instances) and OnChangeSearchText fires. ApplyShared takes a search that another instance
// published: stored and (unless `announce` is false: the first read of a new instance,
// before anyone here listens) announced, never shared back.
//
// Who calls: the editor control before every search, the find and replace dialogs, the
// settings load at start (silent), the instance messaging (ApplyShared).

#include <functional>
#include <string>

class TVxSearchText {
public:
    const std::string &SearchText() const { return FSearchText; }
    bool SearchIgnoreCase() const { return FSearchIgnoreCase; }
    bool SearchHex() const { return FSearchHex; }
    const std::string &HexBytes() const { return FHexBytes; }
    // Whether matching folds case: never for bytes typed as hex.
    bool FoldsCase() const { return FSearchIgnoreCase && !FSearchHex; }
    bool HasSearchText() const { return FSearchHex ? !FHexBytes.empty() : !FSearchText.empty(); }

    // Returns whether anything changed.
    bool SetSearchText(const std::string &text, bool ignoreCase, bool silent, bool hex = false);
    void ApplyShared(const std::string &text, bool ignoreCase, bool announce = true, bool hex = false);

    std::function<void(const std::string &text, bool ignoreCase, bool silent, bool hex)> OnShare;
    std::function<void()> OnChangeSearchText;

private:
    void Store(const std::string &text, bool ignoreCase, bool hex);

    std::string FSearchText;
    bool FSearchIgnoreCase = false;
    bool FSearchHex = false;
    std::string FHexBytes;
};
