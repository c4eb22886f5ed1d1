// MD5 and SHA-256 through CryptoAPI: a verify-only context of the AES
// provider, which every Windows since XP SP3 has (the older RSA provider
// offers no SHA-256), and one hash object.
#include <windows.h>
#include <wincrypt.h>

#include "runtime/hash.h"

namespace qh {

namespace {

ALG_ID CryptoApiAlgorithm(HashAlgorithm algorithm) {
    return algorithm == HashAlgorithm::kMd5 ? CALG_MD5 : CALG_SHA_256;
}

}  // namespace

template <HashAlgorithm A>
struct Hash<A>::State {
    HCRYPTPROV provider = 0;
    HCRYPTHASH hash = 0;
    bool ok = false;
};

template <HashAlgorithm A>
Hash<A>::Hash() : state_(std::make_unique<State>()) {
    if (!CryptAcquireContextW(&state_->provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT)) {
        state_->provider = 0;
        return;
    }
    state_->ok = CryptCreateHash(state_->provider, CryptoApiAlgorithm(A), 0, 0, &state_->hash) != 0;
}

template <HashAlgorithm A>
Hash<A>::~Hash() {
    if (state_->hash) CryptDestroyHash(state_->hash);
    if (state_->provider) CryptReleaseContext(state_->provider, 0);
}

template <HashAlgorithm A>
bool Hash<A>::Ready() const {
    return state_->ok;
}

template <HashAlgorithm A>
void Hash<A>::Add(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const BYTE*>(data);
    while (state_->ok && size > 0) {
        const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        state_->ok = CryptHashData(state_->hash, bytes, chunk, 0) != 0;
        bytes += chunk;
        size -= chunk;
    }
}

template <HashAlgorithm A>
bool Hash<A>::Finish(Digest& digest) {
    DWORD length = 0;
    if (!state_->ok || !CryptGetHashParam(state_->hash, HP_HASHVAL, nullptr, &length, 0) ||
        length != digest.size() ||
        !CryptGetHashParam(state_->hash, HP_HASHVAL, digest.data(), &length, 0)) {
        state_->ok = false;
        return false;
    }
    state_->ok = false;  // a hash object is finished once
    return true;
}

template class Hash<HashAlgorithm::kMd5>;
template class Hash<HashAlgorithm::kSha256>;

}  // namespace qh
