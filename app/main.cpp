// Until the editor window exists, the program loads the files it is given into the document
// engine and prints their first rows as a hexadecimal dump.

#include "TVxDocument.h"

#include <cstdio>
#include <exception>

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::printf("へくすかばっと。\nusage: hexcavator FILE...\n");
        return 0;
    }
    int rc = 0;
    for (int i = 1; i < argc; ++i) {
        try {
            TVxDocument doc;
            doc.LoadFromFile(argv[i]);
            std::printf("%s: %d bytes\n", argv[i], static_cast<int>(doc.FileSize()));
            for (int32_t row = 0; row < doc.FileSize() && row < 16 * 16; row += 16) {
                std::printf("%08X ", static_cast<unsigned>(row));
                auto bytes = doc.ReadBytes(row, 16);
                for (uint8_t b : bytes)
                    std::printf(" %02X", b);
                std::printf("\n");
            }
        } catch (const std::exception &e) {
            std::fprintf(stderr, "%s\n", e.what());
            rc = 1;
        }
    }
    return rc;
}
