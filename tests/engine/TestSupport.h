#pragma once
// Shared helpers of the engine tests: a private folder, files with known bytes, and hooks
// that record what the engine told the view.

#include "TVxDocument.h"

#include <cstdint>
#include <string>
#include <vector>

// A fresh folder under the temporary folder, removed with everything in it.
class TScratchDir {
public:
    TScratchDir();
    ~TScratchDir();
    const std::string &Path() const { return FPath; }
    std::string File(const std::string &name) const { return FPath + "/" + name; }

private:
    std::string FPath;
};

// Points the engine's temporary folder ($TMPDIR, %TMP% on Windows) at a fresh private folder
// while it lives, so that scratch files left behind can be counted. Declare it before the
// documents it serves.
class TPrivateTempDir {
public:
    TPrivateTempDir();
    ~TPrivateTempDir();
    const std::string &Path() const { return FDir.Path(); }
    // Files with a name in it, its private subfolder included (unnamed ones are not seen).
    size_t FileCount() const;

private:
    TScratchDir FDir;
    std::string FOld;
    bool FHadOld;
};

// Names `dir` as the temporary folder for the engine while it lives ($TMPDIR, %TMP% on
// Windows, which GetTempPathW reads), whether or not it exists; then restores the variable.
class TTempFolderVariable {
public:
    explicit TTempFolderVariable(const std::string &dir);
    ~TTempFolderVariable();
    TTempFolderVariable(const TTempFolderVariable &) = delete;
    TTempFolderVariable &operator=(const TTempFolderVariable &) = delete;

private:
    std::string FOld;
    bool FHadOld;
};

// Temporary files get names (as on a file system without unnamed files) while it lives, so
// that a test can count the scratch files an operation leaves behind.
struct TNamedTempFiles {
    TNamedTempFiles();
    ~TNamedTempFiles();
};

// The names in a folder, sorted, without those starting with '.'.
std::vector<std::string> NamesIn(const std::string &dir);
// Names the temporary folder for the engine ($TMPDIR; %TMP% on Windows).
void SetTempFolderVariable(const std::string &dir);
// File operations of the tests on UTF-8 paths, the same on every system.
bool PathExists(const std::string &path);
void MakeHardLink(const std::string &existing, const std::string &link);
void MakeFolder(const std::string &path);
void RenamePath(const std::string &from, const std::string &to);
void RemovePath(const std::string &path);
// The number of names of a file, and its identity on its volume (an inode, a file index).
unsigned long LinkCount(const std::string &path);
uint64_t FileNumber(const std::string &path);
std::vector<uint8_t> Pattern(size_t n, uint32_t seed = 1);
// Writes the bytes to path and loads that file into doc.
void LoadDocument(TVxDocument &doc, const std::string &path, const std::vector<uint8_t> &bytes);
void WriteFileBytes(const std::string &path, const std::vector<uint8_t> &bytes);
std::vector<uint8_t> ReadFileBytes(const std::string &path);
std::string ReadText(const std::string &path);
void WriteText(const std::string &path, const std::string &text);
// The whole document as the engine presents it, read through ReadBytes.
std::vector<uint8_t> DocBytes(TVxDocument &doc);
// The document as written by a flush: the working copy's bytes.
std::vector<uint8_t> WorkBytes(TVxDocument &doc);

// Records the hook calls and events, in order, as short strings, and the questions and
// notices as "kind:path" ("full:path|why"), answering every question with Answer.
class TRecordingHooks : public TVxDocumentHooks, public TVxDocumentQuestions {
public:
    std::vector<std::string> Log;
    int32_t Caret = -1;
    bool Answer = true;
    std::vector<std::string> Questions;

    // Hooks, questions and events of doc.
    void Attach(TVxDocument &doc);
    void MoveCaretToOffset(int32_t offset) override;
    void FileSizeChanged(int32_t fileSize) override;
    void DocumentReplaced() override;
    void PostFileOpened() override;
    bool AskOverwriteChangedFile(const std::string &path) override;
    bool AskSaveWithoutBackup(const std::string &path) override;
    void JournalRecovered(const std::string &path) override;
    void WorkCopyFull(const std::string &path, const std::string &why) override;
};
