#include "TInstanceMessage.h"

#include <cstring>

namespace {
constexpr char kTag[4] = {'H', 'X', 'n', '1'};
} // namespace

TInstanceMessage::TBytes TInstanceMessage::Encode(TEditorNotice notice)
{
    const auto n = static_cast<uint32_t>(notice);
    return {kTag[0], kTag[1], kTag[2], kTag[3], char(n >> 24), char(n >> 16), char(n >> 8), char(n)};
}

bool TInstanceMessage::Decode(const char *bytes, size_t length, TEditorNotice &notice)
{
    if (length != kSize || std::memcmp(bytes, kTag, sizeof kTag) != 0)
        return false;
    const auto *b = reinterpret_cast<const unsigned char *>(bytes) + sizeof kTag;
    const uint32_t n = uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
    switch (static_cast<TEditorNotice>(n)) {
    case TEditorNotice::SearchTextChanged:
    case TEditorNotice::FileOpened:
    case TEditorNotice::Close:
    case TEditorNotice::Activate:
        notice = static_cast<TEditorNotice>(n);
        return true;
    }
    return false;
}
