#pragma once
// Message digests through the system's own crypto library, fed incrementally: create one by
// algorithm, Update it with the data in order (any number of calls, any sizes), then Final.
//
//   POSIX: OpenSSL's libcrypto (EVP), whose assembler uses the processor's SHA extensions
//          where it has them; on the development machine it beats QCryptographicHash on
//          every digest, SHA-256 eight times over, MD5 by a tenth (figures in the README).
//   Windows: CNG (BCrypt) for MD5, SHA-1, SHA-256 and SHA-512; SHA3-256 through Qt's
//          QCryptographicHash, as CNG has SHA-3 only on the newest Windows (and not in Wine).
//
// Errors of the library (none expected once created) throw std::runtime_error with its
// message. Cost: the library's own per byte; no copy of the data. Not copyable; movable.
//
// Who calls: the checksum library's digest accumulator, from its worker thread (one object
// is used by one thread at a time).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class TDigest {
public:
    enum class TAlgorithm { Md5, Sha1, Sha256, Sha512, Sha3_256 };

    explicit TDigest(TAlgorithm algorithm);
    ~TDigest();
    TDigest(TDigest &&) noexcept;
    TDigest &operator=(TDigest &&) noexcept;

    void Update(const uint8_t *data, size_t count);
    // The digest of everything given (16, 20, 32, 64 or 32 bytes); the object is spent after
    // it (only destruction is left).
    std::vector<uint8_t> Final();

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};
