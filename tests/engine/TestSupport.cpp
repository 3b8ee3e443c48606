#include "TestSupport.h"

#include "TFileIdentity.h"
#include "TFileMeta.h"
#include "TTempFile.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#ifdef _WIN32
#include <windows.h>
#endif

namespace {
// Paths are UTF-8 everywhere; a plain std::string path would be taken in the ANSI code page
// on Windows.
std::filesystem::path Native(const std::string &path) { return std::filesystem::u8path(path); }

#ifdef _WIN32
const char *const kTempVariable = "TMP";
#else
const char *const kTempVariable = "TMPDIR";
#endif

void SetVariable(const char *name, const std::string *value)
{
#ifdef _WIN32
    // Both the system's copy (which GetTempPathW reads) and the C library's (getenv).
    const std::wstring wname = Native(name).wstring();
    const std::wstring wvalue = value ? Native(*value).wstring() : std::wstring();
    ::SetEnvironmentVariableW(wname.c_str(), value ? wvalue.c_str() : nullptr);
    ::_wputenv_s(wname.c_str(), wvalue.c_str());
#else
    if (value)
        ::setenv(name, value->c_str(), 1);
    else
        ::unsetenv(name);
#endif
}
} // namespace

TScratchDir::TScratchDir()
{
#ifndef _WIN32
    std::string tmpl = TTempFile::TempDir() + "/hxtest-XXXXXX";
    if (!::mkdtemp(tmpl.data()))
        throw std::runtime_error("mkdtemp failed");
    FPath = tmpl;
#endif
    // Created exclusively under a random name, as mkdtemp does.
    for (int attempt = 0; attempt < 100 && FPath.empty(); ++attempt) {
        const std::string path = TTempFile::TempDir() + "/hxtest-" + TTempFile::RandomName().substr(0, 8);
        std::error_code ec;
        if (std::filesystem::create_directory(Native(path), ec))
            FPath = path;
    }
    if (FPath.empty())
        throw std::runtime_error("cannot make a scratch folder in " + TTempFile::TempDir());
}

TScratchDir::~TScratchDir()
{
    std::error_code ec;
    std::filesystem::permissions(Native(FPath), std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(Native(FPath), ec);
}

TPrivateTempDir::TPrivateTempDir()
{
    const char *old = std::getenv(kTempVariable);
    FHadOld = old != nullptr;
    FOld = old ? old : "";
    SetTempFolderVariable(FDir.Path());
}

TPrivateTempDir::~TPrivateTempDir() { SetVariable(kTempVariable, FHadOld ? &FOld : nullptr); }

void SetTempFolderVariable(const std::string &dir) { SetVariable(kTempVariable, &dir); }

TTempFolderVariable::TTempFolderVariable(const std::string &dir)
{
    const char *old = std::getenv(kTempVariable);
    FHadOld = old != nullptr;
    FOld = old ? old : "";
    SetTempFolderVariable(dir);
}

TTempFolderVariable::~TTempFolderVariable() { SetVariable(kTempVariable, FHadOld ? &FOld : nullptr); }

size_t TPrivateTempDir::FileCount() const
{
    size_t n = 0;
    for (const auto &entry : std::filesystem::recursive_directory_iterator(Native(FDir.Path())))
        n += entry.is_directory() ? 0 : 1;
    return n;
}

TNamedTempFiles::TNamedTempFiles() { TTempFile::SetUnnamedAllowed(false); }
TNamedTempFiles::~TNamedTempFiles() { TTempFile::SetUnnamedAllowed(true); }

std::vector<std::string> NamesIn(const std::string &dir)
{
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(Native(dir))) {
        const std::string name = entry.path().filename().u8string();
        if (name[0] != '.')
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<uint8_t> Pattern(size_t n, uint32_t seed)
{
    std::mt19937 rng(seed);
    std::vector<uint8_t> v(n);
    for (auto &b : v)
        b = static_cast<uint8_t>(rng());
    return v;
}

void WriteFileBytes(const std::string &path, const std::vector<uint8_t> &bytes)
{
    std::ofstream f(Native(path), std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!f)
        throw std::runtime_error("cannot write " + path);
}

bool PathExists(const std::string &path)
{
    std::error_code ec;
    return std::filesystem::symlink_status(Native(path), ec).type() != std::filesystem::file_type::not_found &&
           !ec;
}

void MakeHardLink(const std::string &existing, const std::string &link)
{
    std::filesystem::create_hard_link(Native(existing), Native(link));
}

void MakeFolder(const std::string &path) { std::filesystem::create_directory(Native(path)); }

void RenamePath(const std::string &from, const std::string &to) { std::filesystem::rename(Native(from), Native(to)); }

void RemovePath(const std::string &path) { std::filesystem::remove(Native(path)); }

unsigned long LinkCount(const std::string &path) { return TFileMeta::Capture(TFileHandle::OpenRead(path)).Links; }

uint64_t FileNumber(const std::string &path) { return TFileIdentity::Of(path).Ino; }

void LoadDocument(TVxDocument &doc, const std::string &path, const std::vector<uint8_t> &bytes)
{
    WriteFileBytes(path, bytes);
    doc.LoadFromFile(path);
}

std::vector<uint8_t> ReadFileBytes(const std::string &path)
{
    std::ifstream f(Native(path), std::ios::binary);
    if (!f)
        throw std::runtime_error("cannot read " + path);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

std::string ReadText(const std::string &path)
{
    auto b = ReadFileBytes(path);
    return std::string(b.begin(), b.end());
}

void WriteText(const std::string &path, const std::string &text)
{
    WriteFileBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::vector<uint8_t> DocBytes(TVxDocument &doc) { return doc.ReadBytes(0, doc.FileSize()); }

std::vector<uint8_t> WorkBytes(TVxDocument &doc)
{
    doc.FlushCache();
    const TFileHandle &h = doc.WorkCopy().Handle();
    std::vector<uint8_t> bytes(static_cast<size_t>(h.Length()));
    h.ReadExact(0, bytes.data(), bytes.size());
    return bytes;
}

void TRecordingHooks::Attach(TVxDocument &doc)
{
    doc.SetHooks(this);
    doc.SetQuestions(this);
    doc.OnChangeUndo.Add([this](int32_t n) { Log.push_back("undo:" + std::to_string(n)); });
    doc.OnChangeFileSize.Add([this] { Log.push_back("size"); });
    doc.OnFileOpen.Add([this] { Log.push_back("open"); });
}

void TRecordingHooks::MoveCaretToOffset(int32_t offset)
{
    Caret = offset;
    Log.push_back("caret:" + std::to_string(offset));
}

void TRecordingHooks::FileSizeChanged(int32_t fileSize) { Log.push_back("filesize:" + std::to_string(fileSize)); }

void TRecordingHooks::DocumentReplaced()
{
    Caret = 0;
    Log.push_back("replaced");
}

void TRecordingHooks::PostFileOpened() { Log.push_back("post"); }

bool TRecordingHooks::AskOverwriteChangedFile(const std::string &path)
{
    Questions.push_back("overwrite:" + path);
    return Answer;
}

bool TRecordingHooks::AskSaveWithoutBackup(const std::string &path)
{
    Questions.push_back("nobackup:" + path);
    return Answer;
}

void TRecordingHooks::JournalRecovered(const std::string &path) { Questions.push_back("recovered:" + path); }

void TRecordingHooks::WorkCopyFull(const std::string &path, const std::string &why)
{
    Questions.push_back("full:" + path + "|" + why);
    Log.push_back("full");
}
