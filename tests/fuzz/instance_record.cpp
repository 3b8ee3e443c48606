// What other instances (or anything else with access) put in the shared search record and
// send as notices: TVxSearchRecord and TInstanceMessage.
#include "FuzzCheck.h"
#include "TInstanceMessage.h"
#include "TVxSearchRecord.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const TVxSearchRecord r = TVxSearchRecord::Decode(data, size);
    // A text that a writer could have stored: no zero byte, at most kMaxText bytes, taken from
    // inside the counted bytes.
    FUZZ_CHECK(r.Text.size() <= size_t(TVxSearchRecord::kMaxText));
    FUZZ_CHECK(r.Text.find('\0') == std::string::npos);
    if (size >= 2) {
        FUZZ_CHECK(r.Text.size() + 2 <= size && r.Text.size() <= data[0]);
        FUZZ_CHECK(std::memcmp(r.Text.data(), data + 2, r.Text.size()) == 0);
        FUZZ_CHECK(r.IgnoreCase == (data[1] != 0));
    }
    // Written again and read back, the record is the same.
    const TVxSearchRecord::TBytes again = TVxSearchRecord::Encode(r.Text, r.IgnoreCase, r.Hex);
    const TVxSearchRecord back = TVxSearchRecord::Decode(again.data(), again.size());
    FUZZ_CHECK(back.Text == r.Text && back.IgnoreCase == r.IgnoreCase && back.Hex == r.Hex);
    FUZZ_CHECK(again[0] == r.Text.size() + 1 && again[1] <= 1 && again[TVxSearchRecord::kHexOffset] <= 1);

    // A notice is exactly eight bytes of one known notice, and encodes back to them.
    TEditorNotice notice{};
    if (TInstanceMessage::Decode(reinterpret_cast<const char *>(data), size, notice)) {
        FUZZ_CHECK(size == TInstanceMessage::kSize);
        const TInstanceMessage::TBytes bytes = TInstanceMessage::Encode(notice);
        FUZZ_CHECK(std::memcmp(bytes.data(), data, size) == 0);
    }
    return 0;
}
