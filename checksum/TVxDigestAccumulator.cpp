#include "TVxDigestAccumulator.h"

#include <stdexcept>

TVxDigestAccumulator::TVxDigestAccumulator(TVxChecksum kind) : FDigest(Algorithm(kind)) {}

TDigest::TAlgorithm TVxDigestAccumulator::Algorithm(TVxChecksum kind)
{
    switch (kind) {
    case TVxChecksum::Md5: return TDigest::TAlgorithm::Md5;
    case TVxChecksum::Sha1: return TDigest::TAlgorithm::Sha1;
    case TVxChecksum::Sha256: return TDigest::TAlgorithm::Sha256;
    case TVxChecksum::Sha512: return TDigest::TAlgorithm::Sha512;
    case TVxChecksum::Sha3_256: return TDigest::TAlgorithm::Sha3_256;
    default: throw std::invalid_argument("TVxDigestAccumulator: not a digest");
    }
}

std::string TVxDigestAccumulator::Result()
{
    static const char kDigits[] = "0123456789abcdef";
    std::string text;
    for (uint8_t b : FDigest.Final()) {
        text += kDigits[b >> 4];
        text += kDigits[b & 15];
    }
    return text;
}
