#include "TIniFile.h"

#include "TFileHandle.h"
#include "TFilePaths.h"
#include "TStrToInt.h"
#include "TDirHandle.h"
#include "TTempFile.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace {
const char kBom[] = "\xEF\xBB\xBF";

std::string Trim(const std::string &s)
{
    size_t a = s.find_first_not_of(" \t");
    if (a == std::string::npos)
        return std::string();
    size_t b = s.find_last_not_of(" \t");
    return s.substr(a, b - a + 1);
}

bool SameName(const std::string &a, const std::string &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x + 32);
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y + 32);
        if (x != y)
            return false;
    }
    return true;
}

std::string Unquote(const std::string &v)
{
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"')
        return v.substr(1, v.size() - 2);
    return v;
}

std::string OneLine(const std::string &v)
{
    size_t cut = v.find_first_of("\r\n");
    return cut == std::string::npos ? v : v.substr(0, cut);
}
} // namespace

TIniFile::TIniFile(std::string fileName) : FFileName(std::move(fileName)), FModel(Load(FFileName)) {}

TIniFile::~TIniFile()
{
    try {
        UpdateFile();
    } catch (...) {
        // Not reported: see the class comment.
    }
}

TIniFile::TLine TIniFile::ParseLine(const std::string &text)
{
    TLine line;
    line.Text = text;
    const std::string t = Trim(text);
    if (!t.empty() && t[0] == '[') {
        size_t close = t.find(']');
        line.Kind = TKind::Section;
        line.Name = Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
        return line;
    }
    if (t.empty() || t[0] == ';')
        return line;
    size_t eq = t.find('=');
    if (eq == std::string::npos || eq == 0)
        return line;
    line.Kind = TKind::Key;
    line.Name = Trim(t.substr(0, eq));
    line.Value = Trim(t.substr(eq + 1));
    return line;
}

TIniFile::TLines TIniFile::Load(const std::string &fileName)
{
    TLines model;
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        return model;
    std::stringstream ss;
    ss << in.rdbuf();
    std::string all = ss.str();
    if (all.compare(0, 3, kBom) == 0) {
        model.Bom = true;
        all.erase(0, 3);
    }
    size_t pos = 0;
    bool first = true;
    while (pos < all.size()) {
        size_t nl = all.find('\n', pos);
        std::string text = all.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
            if (first)
                model.Crlf = true;
        }
        first = false;
        model.Lines.push_back(ParseLine(text));
        if (nl == std::string::npos)
            break;
        pos = nl + 1;
    }
    return model;
}

int TIniFile::FindSection(const TLines &model, const std::string &section)
{
    const std::string name = Trim(section);
    for (size_t i = 0; i < model.Lines.size(); ++i)
        if (model.Lines[i].Kind == TKind::Section && SameName(model.Lines[i].Name, name))
            return static_cast<int>(i);
    return -1;
}

int TIniFile::SectionEnd(const TLines &model, int header)
{
    size_t i = static_cast<size_t>(header) + 1;
    while (i < model.Lines.size() && model.Lines[i].Kind != TKind::Section)
        ++i;
    return static_cast<int>(i);
}

int TIniFile::FindKey(const TLines &model, int header, const std::string &key)
{
    if (header < 0)
        return -1;
    const std::string name = Trim(key);
    const int end = SectionEnd(model, header);
    for (int i = header + 1; i < end; ++i)
        if (model.Lines[size_t(i)].Kind == TKind::Key && SameName(model.Lines[size_t(i)].Name, name))
            return i;
    return -1;
}

std::string TIniFile::ReadString(const std::string &section, const std::string &key, const std::string &def) const
{
    int k = FindKey(FModel, FindSection(FModel, section), key);
    return k < 0 ? def : Unquote(FModel.Lines[size_t(k)].Value);
}

int32_t TIniFile::ReadInteger(const std::string &section, const std::string &key, int32_t def) const
{
    return TStrToInt::ParseOr(ReadString(section, key, std::string()), def);
}

bool TIniFile::ReadBool(const std::string &section, const std::string &key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

bool TIniFile::SectionExists(const std::string &section) const { return FindSection(FModel, section) >= 0; }

bool TIniFile::ValueExists(const std::string &section, const std::string &key) const
{
    return FindKey(FModel, FindSection(FModel, section), key) >= 0;
}

std::vector<std::pair<std::string, std::string>> TIniFile::ReadSectionValues(const std::string &section) const
{
    std::vector<std::pair<std::string, std::string>> out;
    const int header = FindSection(FModel, section);
    if (header < 0)
        return out;
    const int end = SectionEnd(FModel, header);
    for (int i = header + 1; i < end; ++i) {
        const TLine &l = FModel.Lines[size_t(i)];
        if (l.Kind != TKind::Key)
            continue;
        // A key that appears twice is listed once, with the value a read would give.
        bool seen = false;
        for (const auto &kv : out)
            seen = seen || SameName(kv.first, l.Name);
        if (!seen)
            out.emplace_back(l.Name, Unquote(l.Value));
    }
    return out;
}

std::vector<std::string> TIniFile::ReadSection(const std::string &section) const
{
    std::vector<std::string> keys;
    for (auto &kv : ReadSectionValues(section))
        keys.push_back(kv.first);
    return keys;
}

std::vector<std::string> TIniFile::ReadSections() const
{
    std::vector<std::string> out;
    for (const TLine &l : FModel.Lines) {
        if (l.Kind != TKind::Section)
            continue;
        bool seen = false;
        for (const auto &s : out)
            seen = seen || SameName(s, l.Name);
        if (!seen)
            out.push_back(l.Name);
    }
    return out;
}

void TIniFile::Apply(TLines &model, const TOp &op)
{
    const int header = FindSection(model, op.Section);
    switch (op.Kind) {
    case TOpKind::Write: {
        TLine line = ParseLine(Trim(op.Key) + "=" + op.Value);
        if (header < 0) {
            if (!model.Lines.empty() && !Trim(model.Lines.back().Text).empty())
                model.Lines.push_back(ParseLine(std::string()));
            model.Lines.push_back(ParseLine("[" + Trim(op.Section) + "]"));
            model.Lines.push_back(std::move(line));
            return;
        }
        int k = FindKey(model, header, op.Key);
        if (k >= 0) {
            model.Lines[size_t(k)] = std::move(line);
            return;
        }
        // After the section's last key, so blank lines and comments that end the section
        // keep separating it from the next one.
        int at = header;
        const int end = SectionEnd(model, header);
        for (int i = header + 1; i < end; ++i)
            if (model.Lines[size_t(i)].Kind == TKind::Key)
                at = i;
        model.Lines.insert(model.Lines.begin() + at + 1, std::move(line));
        return;
    }
    case TOpKind::DeleteKey: {
        int k = FindKey(model, header, op.Key);
        if (k >= 0)
            model.Lines.erase(model.Lines.begin() + k);
        return;
    }
    case TOpKind::EraseSection:
        if (header >= 0)
            model.Lines.erase(model.Lines.begin() + header, model.Lines.begin() + SectionEnd(model, header));
        return;
    }
}

void TIniFile::Change(TOp op)
{
    Apply(FModel, op);
    FPending.push_back(std::move(op));
}

void TIniFile::WriteString(const std::string &section, const std::string &key, const std::string &value)
{
    Change({TOpKind::Write, section, key, OneLine(value)});
}

void TIniFile::WriteInteger(const std::string &section, const std::string &key, int32_t value)
{
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string &section, const std::string &key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::DeleteKey(const std::string &section, const std::string &key)
{
    Change({TOpKind::DeleteKey, section, key, std::string()});
}

void TIniFile::EraseSection(const std::string &section)
{
    Change({TOpKind::EraseSection, section, std::string(), std::string()});
}

std::string TIniFile::Serialize(const TLines &model) const
{
    std::string out = model.Bom ? kBom : "";
    const char *eol = model.Crlf ? "\r\n" : "\n";
    for (const TLine &l : model.Lines) {
        out += l.Text;
        out += eol;
    }
    return out;
}

bool TIniFile::UpdateFile()
{
    if (FPending.empty())
        return true;
    try {
        // Another instance may have written since this object read the file.
        TLines model = Load(FFileName);
        for (const TOp &op : FPending)
            Apply(model, op);
        const std::string text = Serialize(model);

        const std::string target = TFilePaths::ResolveLinks(FFileName);
        mode_t mode = 0;
        const bool existed = TFilePaths::ModeOf(target, mode);
        TDirHandle dir = TDirHandle::Open(TFilePaths::DirName(target));
        TTempFile out = TTempFile::CreateIn(dir, 0600);
        out.Handle().WriteAt(0, text.data(), text.size());
        if (::fchmod(out.Handle().Fd(), existed ? mode : TFilePaths::NewFileMode()) != 0)
            out.Handle().Fail("fchmod");
        out.Handle().Sync();
        out.LinkAs(dir, TFilePaths::BaseName(target));
        dir.Sync();
        FModel = std::move(model);
        FPending.clear();
        return true;
    } catch (const std::exception &) {
        return false;
    }
}
