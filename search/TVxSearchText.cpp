#include "TVxSearchText.h"

#include "TVxHexText.h"

void TVxSearchText::Store(const std::string &text, bool ignoreCase, bool hex)
{
    FSearchText = text;
    FSearchIgnoreCase = ignoreCase;
    FSearchHex = hex;
    FHexBytes = hex ? TVxHexText::Parse(text).value_or(std::string()) : std::string();
}

bool TVxSearchText::SetSearchText(const std::string &text, bool ignoreCase, bool silent, bool hex)
{
    if (ignoreCase == FSearchIgnoreCase && hex == FSearchHex && text == FSearchText)
        return false;
    Store(text, ignoreCase, hex);
    if (OnShare)
        OnShare(FSearchText, FSearchIgnoreCase, silent, FSearchHex);
    if (OnChangeSearchText)
        OnChangeSearchText();
    return true;
}

void TVxSearchText::ApplyShared(const std::string &text, bool ignoreCase, bool announce, bool hex)
{
    Store(text, ignoreCase, hex);
    if (announce && OnChangeSearchText)
        OnChangeSearchText();
}
