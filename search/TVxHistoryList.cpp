#include "TVxHistoryList.h"

#include "TIniFile.h"

#include <algorithm>
#include <cstdio>

std::string TVxHistoryList::KeyOf(size_t index)
{
    char buf[24];
    std::snprintf(buf, sizeof buf, "%zX", index);
    return buf;
}

void TVxHistoryList::Load(const TIniFile &ini, const std::string &section)
{
    FItems.clear();
    size_t filled = 0;
    for (const auto &kv : ini.ReadSectionValues(section))
        if (!kv.second.empty())
            ++filled;
    for (size_t i = 0; i < filled && FItems.size() < kMaxEntries; ++i) {
        std::string text = ini.ReadString(section, KeyOf(i), std::string());
        if (std::find(FItems.begin(), FItems.end(), text) == FItems.end())
            FItems.push_back(std::move(text));
    }
}

void TVxHistoryList::Save(TIniFile &ini, const std::string &section) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        ini.WriteString(section, KeyOf(i), "\"" + FItems[i] + "\"");
}

bool TVxHistoryList::Add(const std::string &text, bool allowEmpty)
{
    if (text.empty() && !allowEmpty)
        return false;
    FItems.insert(FItems.begin(), text);
    for (size_t i = FItems.size(); i-- > 1;)
        if (FItems[i] == text)
            FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(i));
    if (FItems.size() > kMaxEntries)
        FItems.resize(kMaxEntries);
    return true;
}
