// Digests of a stream of bytes from the platform's own cryptography (CryptoAPI
// on Windows, OpenSSL's EVP on Linux): MD5 and SHA-256 through one class.
//
// The update server lists every file by its MD5, a checksum against damaged
// or stale files. SHA-256 is the digest that a signed file list can rely on
// against a forger, and the digest that update signatures are made over.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace qh {

enum class HashAlgorithm { kMd5, kSha256 };

// The length in bytes of an algorithm's digest.
constexpr std::size_t DigestSize(HashAlgorithm algorithm) {
    return algorithm == HashAlgorithm::kMd5 ? 16 : 32;
}

template <HashAlgorithm A>
class Hash {
public:
    using Digest = std::array<std::uint8_t, DigestSize(A)>;

    Hash();
    ~Hash();
    Hash(const Hash&) = delete;
    Hash& operator=(const Hash&) = delete;

    // False when the platform has no such digest to offer; nothing else
    // works then.
    bool Ready() const;
    void Add(const void* data, std::size_t size);
    // The digest of everything added; false when the platform failed. A
    // hash is finished once: a second Finish fails.
    bool Finish(Digest& digest);

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Each platform's source defines both; no other instance exists.
extern template class Hash<HashAlgorithm::kMd5>;
extern template class Hash<HashAlgorithm::kSha256>;

using Md5 = Hash<HashAlgorithm::kMd5>;
using Sha256 = Hash<HashAlgorithm::kSha256>;

}  // namespace qh
