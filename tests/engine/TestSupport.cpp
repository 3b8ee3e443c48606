#include "TestSupport.h"

#include "TTempFile.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

TScratchDir::TScratchDir()
{
    std::string tmpl = TTempFile::TempDir() + "/hxtest-XXXXXX";
    if (!::mkdtemp(tmpl.data()))
        throw std::runtime_error("mkdtemp failed");
    FPath = tmpl;
}

TScratchDir::~TScratchDir()
{
    std::error_code ec;
    std::filesystem::permissions(FPath, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(FPath, ec);
}

TPrivateTempDir::TPrivateTempDir()
{
    const char *old = std::getenv("TMPDIR");
    FHadOld = old != nullptr;
    FOld = old ? old : "";
    ::setenv("TMPDIR", FDir.Path().c_str(), 1);
}

TPrivateTempDir::~TPrivateTempDir()
{
    if (FHadOld)
        ::setenv("TMPDIR", FOld.c_str(), 1);
    else
        ::unsetenv("TMPDIR");
}

size_t TPrivateTempDir::FileCount() const
{
    size_t n = 0;
    for (const auto &entry : std::filesystem::recursive_directory_iterator(FDir.Path()))
        n += entry.is_directory() ? 0 : 1;
    return n;
}

TNamedTempFiles::TNamedTempFiles() { TTempFile::SetUnnamedAllowed(false); }
TNamedTempFiles::~TNamedTempFiles() { TTempFile::SetUnnamedAllowed(true); }

std::vector<std::string> NamesIn(const std::string &dir)
{
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
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
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!f)
        throw std::runtime_error("cannot write " + path);
}

void LoadDocument(TVxDocument &doc, const std::string &path, const std::vector<uint8_t> &bytes)
{
    WriteFileBytes(path, bytes);
    doc.LoadFromFile(path);
}

std::vector<uint8_t> ReadFileBytes(const std::string &path)
{
    std::ifstream f(path, std::ios::binary);
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
