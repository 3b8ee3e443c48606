#pragma once
// The editor's search operations: TVxSearchEngine over the control's document, with the
// caret and selection of the control passed in and the result shown there (the match
// selected, the caret on its first byte, everything repainted).
//
// Texts are UTF-8, as typed, and searched in the code the column shows (TVxTextCodec); with `hex` they are hexadecimal digits for the
// bytes sought (TVxHexText). Who calls: the find and replace dialogs, the find next / find
// previous commands.

#include "TVxSearchEngine.h"

#include <cstdint>
#include <string>

class TVxHexcavator;

class TVxEditorSearch {
public:
    explicit TVxEditorSearch(TVxHexcavator &editor);

    TVxSearchText &State() { return FEngine.State(); }
    bool HasSearchText() const { return FEngine.HasSearchText(); }
    const std::string &SearchText() const { return FEngine.State().SearchText(); }
    bool SearchIgnoreCase() const { return FEngine.State().SearchIgnoreCase(); }
    bool SearchHex() const { return FEngine.State().SearchHex(); }
    void SetSearchText(const std::string &text, bool ignoreCase, bool hex = false);

    int32_t Search(const std::string &text, int32_t start, int32_t endBound, bool ignoreCase, bool backward,
                   bool select, bool hex = false);
    int32_t Find(const std::string &text, bool ignoreCase, bool backward, bool fromTop, bool select, bool hex = false);
    int32_t FindNext();
    int32_t FindPrev();
    // Replaces at or after start (all: every occurrence from start); returns the count.
    int32_t Replace(int32_t start, const std::string &findText, const std::string &replaceText, bool all,
                    bool hex = false);

private:
    // The match is as long as the current search's pattern.
    void Show(int32_t match, bool select);

    TVxHexcavator &FEditor;
    TVxSearchEngine FEngine;
};
