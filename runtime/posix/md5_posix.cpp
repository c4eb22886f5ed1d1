// MD5 through OpenSSL's EVP interface.
#include <openssl/evp.h>

#include "runtime/md5.h"

namespace qh {

struct Md5::State {
    EVP_MD_CTX* context = nullptr;
    bool ok = false;
};

Md5::Md5() : state_(std::make_unique<State>()) {
    state_->context = EVP_MD_CTX_new();
    state_->ok = state_->context != nullptr &&
                 EVP_DigestInit_ex(state_->context, EVP_md5(), nullptr) == 1;
}

Md5::~Md5() { EVP_MD_CTX_free(state_->context); }

bool Md5::Ready() const { return state_->ok; }

void Md5::Add(const void* data, std::size_t size) {
    if (state_->ok && size > 0) state_->ok = EVP_DigestUpdate(state_->context, data, size) == 1;
}

bool Md5::Finish(Digest& digest) {
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

}  // namespace qh
