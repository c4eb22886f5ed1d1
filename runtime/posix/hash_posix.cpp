// MD5 and SHA-256 through OpenSSL's EVP interface.
#include <openssl/evp.h>

#include "runtime/hash.h"

namespace qh {

namespace {

const EVP_MD* EvpAlgorithm(HashAlgorithm algorithm) {
    return algorithm == HashAlgorithm::kMd5 ? EVP_md5() : EVP_sha256();
}

}  // namespace

template <HashAlgorithm A>
struct Hash<A>::State {
    EVP_MD_CTX* context = nullptr;
    bool ok = false;
};

template <HashAlgorithm A>
Hash<A>::Hash() : state_(std::make_unique<State>()) {
    state_->context = EVP_MD_CTX_new();
    state_->ok = state_->context != nullptr &&
                 EVP_DigestInit_ex(state_->context, EvpAlgorithm(A), nullptr) == 1;
}

template <HashAlgorithm A>
Hash<A>::~Hash() {
    EVP_MD_CTX_free(state_->context);
}

template <HashAlgorithm A>
bool Hash<A>::Ready() const {
    return state_->ok;
}

template <HashAlgorithm A>
void Hash<A>::Add(const void* data, std::size_t size) {
    if (state_->ok && size > 0) state_->ok = EVP_DigestUpdate(state_->context, data, size) == 1;
}

template <HashAlgorithm A>
bool Hash<A>::Finish(Digest& digest) {
    unsigned int length = 0;
    unsigned char value[EVP_MAX_MD_SIZE];
    if (!state_->ok || EVP_DigestFinal_ex(state_->context, value, &length) != 1 ||
        length != digest.size()) {
        state_->ok = false;
        return false;
    }
    state_->ok = false;  // a context is finished once
    for (std::size_t i = 0; i < digest.size(); ++i) digest[i] = value[i];
    return true;
}

template class Hash<HashAlgorithm::kMd5>;
template class Hash<HashAlgorithm::kSha256>;

}  // namespace qh
