#pragma once
// A history list of the find and replace dialogs: at most 16 texts, newest first, without
// duplicates (exact, case-sensitive byte comparison), kept in a section of the settings file
// ("FindStrings" or "ReplaceStrings") under the keys "0" ... "F" (upper-case hexadecimal
// without leading zeros), each value enclosed in double quotes so leading and trailing
// blanks survive.
//
// Load counts the section's keys whose value is not empty and reads that many entries by
// the keys "0", "1", ...: a missing or empty key in that range gives an empty entry, and an
// empty entry stored among 16 costs the oldest one on the next load. A hand-edited section
// obeys the list's rules all the same: a text met again under a later key is skipped, and
// reading stops at the 16th entry - as if the entries had been added oldest first. Loading
// is linear in the section however many keys it holds. Save writes every entry under its
// key and leaves keys at or above the current count as they are.
//
// Entries are UTF-8 as the dialogs show them; converting the chosen one to the CP932 search
// text is the dialog's business.
//
// Who calls: TfrmFind (find history) and TfrmReplace (both).

#include <string>
#include <vector>

class TIniFile;

class TVxHistoryList {
public:
    static constexpr size_t kMaxEntries = 16;
    static constexpr const char *kFindSection = "FindStrings";
    static constexpr const char *kReplaceSection = "ReplaceStrings";

    void Load(const TIniFile &ini, const std::string &section);
    void Save(TIniFile &ini, const std::string &section) const;
    // Puts text first, drops later equal entries and trims to kMaxEntries. An empty text is
    // recorded only when allowEmpty (the replacement history); returns whether it was added.
    bool Add(const std::string &text, bool allowEmpty);

    const std::vector<std::string> &Items() const { return FItems; }
    static std::string KeyOf(size_t index);

private:
    std::vector<std::string> FItems;
};
