#pragma once
// The form of a notice on the wire between instances: exactly 8 bytes, the tag "HXn1" and
// the notice's number in 4 bytes, most significant first. One notice per connection.
//
// Decode accepts only that: fewer or other bytes, or a number that is not a TEditorNotice,
// are refused, and the receiver drops the connection. Fixed and small, so that a receiver
// never buffers more than one message from anybody.

#include "TEditorNotice.h"

#include <array>
#include <cstddef>

class TInstanceMessage {
public:
    static constexpr size_t kSize = 8;
    using TBytes = std::array<char, kSize>;

    static TBytes Encode(TEditorNotice notice);
    // True and `notice` set when the `length` bytes are exactly one message.
    static bool Decode(const char *bytes, size_t length, TEditorNotice &notice);
};
