#pragma once
// The current search text and its ignore-case flag: what find next and find previous repeat,
// shared by every running instance. The text is a byte string in CP932, as the user typed it.
//
// SetSearchText is the only way to change them from this instance: when text and flag are
// both equal to the current ones nothing happens (no sharing, no event); otherwise they are
// stored, handed to OnShare (which writes the shared record and, unless `silent`, tells the
// other instances) and OnChangeSearchText fires. ApplyShared takes a text that another
// instance published: stored and (unless `announce` is false: the first read of a new
// instance, before anyone here listens) announced, never shared back.
//
// Who calls: the editor control before every search, the find and replace dialogs, the
// settings load at start (silent), the instance messaging (ApplyShared).

#include <functional>
#include <string>

class TVxSearchText {
public:
    const std::string &SearchText() const { return FSearchText; }
    bool SearchIgnoreCase() const { return FSearchIgnoreCase; }
    bool HasSearchText() const { return !FSearchText.empty(); }

    // Returns whether anything changed.
    bool SetSearchText(const std::string &text, bool ignoreCase, bool silent);
    void ApplyShared(const std::string &text, bool ignoreCase, bool announce = true);

    std::function<void(const std::string &text, bool ignoreCase, bool silent)> OnShare;
    std::function<void()> OnChangeSearchText;

private:
    std::string FSearchText;
    bool FSearchIgnoreCase = false;
};
