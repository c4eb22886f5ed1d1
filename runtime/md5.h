// The MD5 digest of a stream of bytes, from the platform's own cryptography
// (CryptoAPI on Windows, OpenSSL's EVP on Linux). The update server lists
// every file by its MD5, so this is a checksum against damaged or stale
// files, not a defence against a forger.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace qh {

class Md5 {
public:
    using Digest = std::array<std::uint8_t, 16>;

    Md5();
    ~Md5();
    Md5(const Md5&) = delete;
    Md5& operator=(const Md5&) = delete;

    // False when the platform has no MD5 to offer; nothing else works then.
    bool Ready() const;
    void Add(const void* data, std::size_t size);
    // The digest of everything added; false when the platform failed.
    bool Finish(Digest& digest);

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace qh
