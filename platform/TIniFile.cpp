#include "TIniFile.h"

#include "TFileHandle.h"
#include "TLockedRewrite.h"
#include "TStrToInt.h"

#include <cerrno>
#include <optional>
#include <system_error>

namespace {
int gLockWaitMs = 5000;

std::string OneLine(const std::string &v)
{
    size_t cut = v.find_first_of("\r\n");
    return cut == std::string::npos ? v : v.substr(0, cut);
}
} // namespace

void TIniFile::SetLockWait(int milliseconds) { gLockWaitMs = milliseconds; }

TIniFile::TIniFile(std::string fileName) : FFileName(std::move(fileName))
{
    try {
        Load(FFileName, FModel);
    } catch (...) {
        // Out of memory for a file within the size limit: as unreadable, it reads as empty.
        FModel = TIniText();
    }
}

TIniFile::~TIniFile()
{
    try {
        UpdateFile();
    } catch (...) {
        // Not reported: see the class comment.
    }
}

TIniFile::TLoad TIniFile::Load(const std::string &fileName, TIniText &text)
{
    text = TIniText();
    TFileHandle file;
    try {
        file = TFileHandle::OpenRead(fileName);
    } catch (const std::system_error &e) {
        return e.code().value() == ENOENT ? TLoad::Missing : TLoad::Unreadable;
    }
    try {
        if (file.Kind() != TFileHandle::TKind::Regular)
            return TLoad::Unreadable;
        std::optional<std::string> bytes = file.ReadAll(kMaxFileSize);
        if (!bytes)
            return TLoad::Unreadable;
        text = TIniText(std::move(*bytes));
    } catch (const std::exception &) {
        text = TIniText();
        return TLoad::Unreadable;
    }
    return TLoad::Read;
}

std::string TIniFile::ReadString(const std::string &section, const std::string &key, const std::string &def) const
{
    const auto v = FModel.Value(section, key);
    return v ? std::string(*v) : def;
}

int32_t TIniFile::ReadInteger(const std::string &section, const std::string &key, int32_t def) const
{
    const auto v = FModel.Value(section, key);
    return v ? TStrToInt::ParseOr(std::string(*v), def) : def;
}

bool TIniFile::ReadBool(const std::string &section, const std::string &key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

bool TIniFile::SectionExists(const std::string &section) const { return FModel.HasSection(section); }

bool TIniFile::ValueExists(const std::string &section, const std::string &key) const
{
    return FModel.Value(section, key).has_value();
}

std::vector<std::pair<std::string, std::string>> TIniFile::ReadSectionValues(const std::string &section) const
{
    return FModel.SectionValues(section);
}

std::vector<std::string> TIniFile::ReadSection(const std::string &section) const
{
    std::vector<std::string> keys;
    for (auto &kv : FModel.SectionValues(section))
        keys.push_back(std::move(kv.first));
    return keys;
}

std::vector<std::string> TIniFile::ReadSections() const { return FModel.Sections(); }

void TIniFile::Apply(TIniText &text, const TOp &op)
{
    switch (op.Kind) {
    case TOpKind::Write:
        text.Write(op.Section, op.Key, op.Value);
        return;
    case TOpKind::DeleteKey:
        text.DeleteKey(op.Section, op.Key);
        return;
    case TOpKind::EraseSection:
        text.EraseSection(op.Section);
        return;
    case TOpKind::EditSection:
        for (const auto &[key, value] : op.Edit(text.SectionValues(op.Section)))
            if (TIniText::Writable(op.Section, key))
                text.Write(op.Section, key, OneLine(value));
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
    if (TIniText::Writable(section, key))
        Change({TOpKind::Write, section, key, OneLine(value), nullptr});
}

void TIniFile::WriteInteger(const std::string &section, const std::string &key, int32_t value)
{
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string &section, const std::string &key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::EditSection(const std::string &section, std::function<TValues(const TValues &)> edit)
{
    Change({TOpKind::EditSection, section, std::string(), std::string(), std::move(edit)});
}

void TIniFile::DeleteKey(const std::string &section, const std::string &key)
{
    Change({TOpKind::DeleteKey, section, key, std::string(), nullptr});
}

void TIniFile::EraseSection(const std::string &section)
{
    Change({TOpKind::EraseSection, section, std::string(), std::string(), nullptr});
}

bool TIniFile::UpdateFile()
{
    if (FPending.empty())
        return true;
    try {
        TIniText model;
        const bool written = TLockedRewrite::Run(FFileName, gLockWaitMs, [&](const std::string &target) {
            // Another instance may have written since this object read the file; under the
            // lock nobody else can until the rename.
            std::optional<std::string> text;
            if (Load(target, model) == TLoad::Unreadable)
                return text;
            for (const TOp &op : FPending)
                Apply(model, op);
            text = model.Serialize();
            return text;
        });
        if (!written)
            return false;
        FModel = std::move(model);
        FPending.clear();
        return true;
    } catch (const std::exception &) {
        return false;
    }
}
