#include "TVxSearchText.h"

bool TVxSearchText::SetSearchText(const std::string &text, bool ignoreCase, bool silent)
{
    if (ignoreCase == FSearchIgnoreCase && text == FSearchText)
        return false;
    FSearchText = text;
    FSearchIgnoreCase = ignoreCase;
    if (OnShare)
        OnShare(FSearchText, FSearchIgnoreCase, silent);
    if (OnChangeSearchText)
        OnChangeSearchText();
    return true;
}

void TVxSearchText::ApplyShared(const std::string &text, bool ignoreCase, bool announce)
{
    FSearchText = text;
    FSearchIgnoreCase = ignoreCase;
    if (announce && OnChangeSearchText)
        OnChangeSearchText();
}
