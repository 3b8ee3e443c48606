#pragma once
// A message digest (MD5, SHA-1, SHA-256, SHA-512, SHA3-256) through the system's crypto
// library (TDigest), its value in lower-case hexadecimal as sha256sum prints it.
//
// Cost: the library's. Who calls: TVxChecksumSet.

#include "TDigest.h"
#include "TVxChecksumAccumulator.h"
#include "TVxChecksumKinds.h"

class TVxDigestAccumulator : public TVxChecksumAccumulator {
public:
    // `kind`: one of Md5, Sha1, Sha256, Sha512, Sha3_256.
    explicit TVxDigestAccumulator(TVxChecksum kind);
    void Update(const uint8_t *data, size_t count) override { FDigest.Update(data, count); }
    std::string Result() override;

private:
    static TDigest::TAlgorithm Algorithm(TVxChecksum kind);

    TDigest FDigest;
};
