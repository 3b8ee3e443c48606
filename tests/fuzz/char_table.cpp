// A character table file (.tbl, TVxCharTable). The input is the file; its bytes are then
// also read through the table as a document would be.
#include "FuzzCheck.h"
#include "TVxCharTable.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string file(reinterpret_cast<const char *>(data), size);
    std::shared_ptr<const TVxCharTable> table;
    try {
        table = TVxCharTable::Parse(file);
    } catch (const TVxCharTableError &e) {
        // Refused whole, naming a line of the file (0 for the whole file).
        FUZZ_CHECK(e.Line >= 0 && size_t(e.Line) <= size + 1);
        return 0;
    }
    FUZZ_CHECK(table && table->Size() >= 1 && table->Size() <= TVxCharTable::kMaxEntries);
    FUZZ_CHECK(table->MaxBytes() >= 1 && table->MaxBytes() <= TVxCharTable::kMaxBytes);
    // Every entry met in the bytes encodes back to its own bytes: an entry's text is the
    // longest text at its start, and no other entry has those bytes.
    for (size_t at = 0; at < size;) {
        const std::u16string *text = nullptr;
        const int count = int(std::min<size_t>(size - at, 64));
        const int n = table->Match(data + at, count, &text);
        FUZZ_CHECK(n >= 0 && n <= count && n <= table->MaxBytes());
        if (n == 0) {
            ++at;
            continue;
        }
        FUZZ_CHECK(text && !text->empty());
        std::string bytes;
        size_t bad = 0;
        FUZZ_CHECK(table->Encode(*text, bytes, bad));
        const std::u16string *back = nullptr;
        FUZZ_CHECK(table->Match(reinterpret_cast<const uint8_t *>(bytes.data()), int(bytes.size()), &back) ==
                   int(bytes.size()));
        FUZZ_CHECK(back && *back == *text);
        at += size_t(n);
    }
    // A text no entry begins is refused at its first character.
    std::string bytes;
    size_t bad = 99;
    if (!table->Encode(u"\uFFFF", bytes, bad))
        FUZZ_CHECK(bad == 0);
    return 0;
}
