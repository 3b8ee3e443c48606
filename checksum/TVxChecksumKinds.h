#pragma once
// The checksums the program computes, in the order the dialog lists them, with the name it
// shows, the key the settings file keeps the choice under, and the width of the value.
//
//   CRC-16 (ARC)         reflected polynomial 0x8005, initial 0, no final XOR ("123456789": BB3D)
//   CRC-16/CCITT-FALSE   polynomial 0x1021 not reflected, initial FFFF, no final XOR (29B1)
//   CRC-32               zlib's (CBF43926)
//   CRC-32C              Castagnoli, reflected 0x1EDC6F41, initial and final XOR FFFFFFFF (E3069283)
//   Adler-32             zlib's (091E01DE)
//   SUM-8                the bytes summed, modulo 256
//   SUM-16 (LE/BE)       the data read as 16-bit words in that byte order, summed modulo 2^16
//   SUM-32 (LE/BE)       the same with 32-bit words, modulo 2^32; for both, a partial word at
//                        the end is completed with zero bytes after it (so 01 02 03 is, as
//                        SUM-16 (BE), 0102 + 0300)
//   MD5, SHA-1, SHA-256, SHA-512, SHA3-256   the digests, as sha256sum and its kin print them
//
// CRCs and sums are shown in upper-case hexadecimal, as many digits as their width (2, 4 or
// 8); digests in lower-case hexadecimal.
//
// Who calls: the checksum set (which accumulator computes a kind), the dialog (names, the
// defaults) and the settings (keys).

#include <string>
#include <vector>

enum class TVxChecksum {
    Crc16Arc,
    Crc16CcittFalse,
    Crc32,
    Crc32C,
    Adler32,
    Sum8,
    Sum16LE,
    Sum16BE,
    Sum32LE,
    Sum32BE,
    Md5,
    Sha1,
    Sha256,
    Sha512,
    Sha3_256,
};

class TVxChecksumKinds {
public:
    static constexpr int kCount = int(TVxChecksum::Sha3_256) + 1;

    // Every kind in the dialog's order.
    static std::vector<TVxChecksum> All();
    // What is checked until the user chooses: CRC-32, MD5, SHA-1, SHA-256.
    static std::vector<TVxChecksum> Defaults();
    static bool IsDigest(TVxChecksum kind) { return kind >= TVxChecksum::Md5; }

    // "CRC-16 (ARC)", "SUM-16 (LE)", "SHA3-256", ...
    static std::string Name(TVxChecksum kind);
    // "crc16-arc", "sum16-le", "sha3-256", ...: stable, the settings file keeps them.
    static std::string Key(TVxChecksum kind);

    // The kinds named by keys separated by commas, in the dialog's order; unknown keys are
    // ignored (a file from a newer version), so the result may be empty.
    static std::vector<TVxChecksum> FromKeys(const std::string &keys);
    static std::string ToKeys(const std::vector<TVxChecksum> &kinds);
};
