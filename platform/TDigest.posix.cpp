#include "TDigest.h"

#include <openssl/err.h>
#include <openssl/evp.h>

#include <stdexcept>
#include <string>

namespace {
[[noreturn]] void Fail(const char *what)
{
    char text[256] = "";
    ERR_error_string_n(ERR_get_error(), text, sizeof text);
    throw std::runtime_error(std::string(what) + ": " + text);
}

const EVP_MD *Md(TDigest::TAlgorithm algorithm)
{
    switch (algorithm) {
    case TDigest::TAlgorithm::Md5: return EVP_md5();
    case TDigest::TAlgorithm::Sha1: return EVP_sha1();
    case TDigest::TAlgorithm::Sha256: return EVP_sha256();
    case TDigest::TAlgorithm::Sha512: return EVP_sha512();
    case TDigest::TAlgorithm::Sha3_256: return EVP_sha3_256();
    }
    throw std::invalid_argument("TDigest: unknown algorithm");
}
} // namespace

struct TDigest::TImpl {
    EVP_MD_CTX *Ctx = EVP_MD_CTX_new();
    ~TImpl() { EVP_MD_CTX_free(Ctx); }
};

TDigest::TDigest(TAlgorithm algorithm) : FImpl(std::make_unique<TImpl>())
{
    if (!FImpl->Ctx || EVP_DigestInit_ex(FImpl->Ctx, Md(algorithm), nullptr) != 1)
        Fail("EVP_DigestInit_ex");
}

TDigest::~TDigest() = default;
TDigest::TDigest(TDigest &&) noexcept = default;
TDigest &TDigest::operator=(TDigest &&) noexcept = default;

void TDigest::Update(const uint8_t *data, size_t count)
{
    if (EVP_DigestUpdate(FImpl->Ctx, data, count) != 1)
        Fail("EVP_DigestUpdate");
}

std::vector<uint8_t> TDigest::Final()
{
    std::vector<uint8_t> out(EVP_MAX_MD_SIZE);
    unsigned int n = 0;
    if (EVP_DigestFinal_ex(FImpl->Ctx, out.data(), &n) != 1)
        Fail("EVP_DigestFinal_ex");
    out.resize(n);
    return out;
}
