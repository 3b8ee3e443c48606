#pragma once
// The notices that running editors send each other. The values are the window messages the
// editor's Windows design posts, so a trace or a port reads the same numbers.

#include <cstdint>

enum class TEditorNotice : uint32_t {
    // WM_USER + 101 (WM_SEARCHTEXTCHANGED): reload the shared search record.
    SearchTextChanged = 0x0465,
    // WM_USER + 102 (WM_FILEOPENED): some instance opened a file; re-read the recent files.
    FileOpened = 0x0466,
    // WM_SYSCOMMAND with SC_CLOSE: close as if the close box had been clicked.
    Close = 0xF060,
    // WM_ACTIVATE: come to the front (the next-instance command, where Windows brings the
    // window forward itself and an X11 program may only ask the target to do it).
    Activate = 0x0006,
};
