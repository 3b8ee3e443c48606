#include "TVxSearchText.h"

bool TVxSearchText::SetSearchText(const std::string &text, bool ignoreCase, bool silent)
{
    if (ignoreCase == FIgnoreCase && text == FText)
        return false;
    FText = text;
    FIgnoreCase = ignoreCase;
    if (OnShare)
        OnShare(FText, FIgnoreCase, silent);
    if (OnChangeSearchText)
        OnChangeSearchText();
    return true;
}

void TVxSearchText::ApplyShared(const std::string &text, bool ignoreCase)
{
    FText = text;
    FIgnoreCase = ignoreCase;
    if (OnChangeSearchText)
        OnChangeSearchText();
}
