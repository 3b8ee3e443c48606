#pragma once
// How an imported memory image travels to the new instance that shows it. The importing
// instance reads and checks the input itself (so bad input is told there and nothing
// starts), writing the image to a named file in this user's private temporary folder, and
// starts the program with two environment variables: the image's path and its start
// address. The new instance takes both out of its environment at once (so that instances
// it starts in turn never see them), copies the image into a working copy of its own and
// deletes the handed file.
//
// Environment variables and not arguments: every argument of the command line is a file to
// open, and any text can be a file's name, so no argument could mean "adopt" without
// changing how some existing command line is read. Even so the variable is not trusted: only
// a regular file directly inside the private folder, named as Create names them, is
// adopted or deleted; anything else is left alone and nothing opens.
//
// The handed file is no ".tmp" file, so another instance starting meanwhile does not take it
// for a dead instance's leftover; it lives until the new instance has copied it, which takes
// seconds. Should that instance die first, an instance starting a day later deletes it
// (RemoveForgotten): an image may be as large as a document.
//
// Who calls: the import commands (Create, Hand; Adopt in the new instance); main(), for
// TakeFromEnvironment before anything can start another program, and RemoveForgotten.

#include "TTempFile.h"

#include <QString>

#include <cstdint>

class TImportHandoff {
public:
    struct THanded {
        QString Path; // empty: nothing handed
        uint32_t Start = 0;
    };

    // A new empty file for an image to be handed on. Throws std::system_error, or
    // std::runtime_error when the private folder cannot be used (the new instance would
    // refuse a file from elsewhere).
    static TTempFile Create();
    // Closes the image and starts `program` with it (TUiServices::StartProgramWith). When the
    // start fails the file is deleted here and false returned.
    static bool Hand(TTempFile image, uint32_t start, const QString &program);
    // The image handed to this process, if any and if it passes IsHandedImage; the variables
    // are removed from the environment either way.
    static THanded TakeFromEnvironment();
    // Whether `path` names a file Create made: a regular file (no link) directly inside the
    // private folder, named "import.XXXXXXXX.orig".
    static bool IsHandedImage(const QString &path);
    // A working copy holding the handed image's bytes; the handed file is deleted, also when
    // the copy fails (the error is thrown). Refuses (std::runtime_error, nothing deleted) a
    // path that is no handed image.
    static TTempFile Adopt(const QString &path);
    // Deletes the handed images in the private folder that are older than a day: no instance
    // is left to take them. Returns how many. Called once at start-up.
    static int RemoveForgotten();

    static constexpr const char *kImageVariable = "HEXCAVATOR_IMPORTED_IMAGE";
    static constexpr const char *kStartVariable = "HEXCAVATOR_IMPORTED_START";
};
