#pragma once
// The editor's search operations: TVxSearchEngine over the control's document, with the
// caret and selection of the control passed in and the result shown there (the match
// selected, the caret on its first byte, everything repainted).
//
// Texts are CP932 byte strings, as typed. Who calls: the find and replace dialogs, the
// find next / find previous commands.

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
    void SetSearchText(const std::string &text, bool ignoreCase);

    int32_t Search(const std::string &text, int32_t start, int32_t endBound, bool ignoreCase, bool backward,
                   bool select);
    int32_t Find(const std::string &text, bool ignoreCase, bool backward, bool fromTop, bool select);
    int32_t FindNext();
    int32_t FindPrev();
    // Replaces at or after start (all: every occurrence from start); returns the count.
    int32_t Replace(int32_t start, const std::string &findText, const std::string &replaceText, bool all);

private:
    void Show(int32_t match, int32_t length, bool select);

    TVxHexcavator &FEditor;
    TVxSearchEngine FEngine;
};
