#include "TDigest.h"

#include <windows.h>
#include <bcrypt.h>

#include <QCryptographicHash>

#include <climits>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>

namespace {
void Check(NTSTATUS status, const char *what)
{
    if (status < 0) {
        char text[96];
        std::snprintf(text, sizeof text, "%s: NTSTATUS 0x%08lX", what, static_cast<unsigned long>(status));
        throw std::runtime_error(text);
    }
}

LPCWSTR CngName(TDigest::TAlgorithm algorithm)
{
    switch (algorithm) {
    case TDigest::TAlgorithm::Md5: return BCRYPT_MD5_ALGORITHM;
    case TDigest::TAlgorithm::Sha1: return BCRYPT_SHA1_ALGORITHM;
    case TDigest::TAlgorithm::Sha256: return BCRYPT_SHA256_ALGORITHM;
    case TDigest::TAlgorithm::Sha512: return BCRYPT_SHA512_ALGORITHM;
    case TDigest::TAlgorithm::Sha3_256: break;
    }
    return nullptr;
}

size_t DigestSize(TDigest::TAlgorithm algorithm)
{
    switch (algorithm) {
    case TDigest::TAlgorithm::Md5: return 16;
    case TDigest::TAlgorithm::Sha1: return 20;
    case TDigest::TAlgorithm::Sha256: return 32;
    case TDigest::TAlgorithm::Sha512: return 64;
    case TDigest::TAlgorithm::Sha3_256: return 32;
    }
    return 0;
}
} // namespace

// Either a CNG hash (its provider and hash handles) or, for SHA3-256, Qt's.
struct TDigest::TImpl {
    BCRYPT_ALG_HANDLE Alg = nullptr;
    BCRYPT_HASH_HANDLE Hash = nullptr;
    size_t Size = 0;
    std::optional<QCryptographicHash> Qt;

    ~TImpl()
    {
        if (Hash)
            BCryptDestroyHash(Hash);
        if (Alg)
            BCryptCloseAlgorithmProvider(Alg, 0);
    }
};

TDigest::TDigest(TAlgorithm algorithm) : FImpl(std::make_unique<TImpl>())
{
    FImpl->Size = DigestSize(algorithm);
    const LPCWSTR name = CngName(algorithm);
    if (!name) {
        FImpl->Qt.emplace(QCryptographicHash::Sha3_256);
        return;
    }
    Check(BCryptOpenAlgorithmProvider(&FImpl->Alg, name, nullptr, 0), "BCryptOpenAlgorithmProvider");
    // The hash object's memory is CNG's own (pbHashObject null, Windows 7 and later).
    Check(BCryptCreateHash(FImpl->Alg, &FImpl->Hash, nullptr, 0, nullptr, 0, 0), "BCryptCreateHash");
}

TDigest::~TDigest() = default;
TDigest::TDigest(TDigest &&) noexcept = default;
TDigest &TDigest::operator=(TDigest &&) noexcept = default;

void TDigest::Update(const uint8_t *data, size_t count)
{
    if (FImpl->Qt) {
        FImpl->Qt->addData(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(count)));
        return;
    }
    // CNG takes at most a ULONG of bytes a call.
    while (count > 0) {
        const ULONG n = count > ULONG_MAX ? ULONG_MAX : ULONG(count);
        Check(BCryptHashData(FImpl->Hash, const_cast<PUCHAR>(data), n, 0), "BCryptHashData");
        data += n;
        count -= n;
    }
}

std::vector<uint8_t> TDigest::Final()
{
    if (FImpl->Qt) {
        const QByteArray r = FImpl->Qt->result();
        return std::vector<uint8_t>(r.begin(), r.end());
    }
    std::vector<uint8_t> out(FImpl->Size);
    Check(BCryptFinishHash(FImpl->Hash, out.data(), ULONG(out.size()), 0), "BCryptFinishHash");
    return out;
}
