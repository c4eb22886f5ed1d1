// MD5 through CryptoAPI: a verify-only context of the AES provider, which
// every Windows since XP SP3 has, and one hash object.
#include <windows.h>
#include <wincrypt.h>

#include "runtime/md5.h"

namespace qh {

struct Md5::State {
    HCRYPTPROV provider = 0;
    HCRYPTHASH hash = 0;
    bool ok = false;
};

Md5::Md5() : state_(std::make_unique<State>()) {
    if (!CryptAcquireContextW(&state_->provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT)) {
        state_->provider = 0;
        return;
    }
    state_->ok = CryptCreateHash(state_->provider, CALG_MD5, 0, 0, &state_->hash) != 0;
}

Md5::~Md5() {
    if (state_->hash) CryptDestroyHash(state_->hash);
    if (state_->provider) CryptReleaseContext(state_->provider, 0);
}

bool Md5::Ready() const { return state_->ok; }

void Md5::Add(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const BYTE*>(data);
    while (state_->ok && size > 0) {
        const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        state_->ok = CryptHashData(state_->hash, bytes, chunk, 0) != 0;
        bytes += chunk;
        size -= chunk;
    }
}

bool Md5::Finish(Digest& digest) {
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

}  // namespace qh
