// Key pairs, signatures and their check through OpenSSL 3: its decoders and
// encoders for the key files, EVP_DigestSign and EVP_DigestVerify for the
// signatures.
#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/decoder.h>
#include <openssl/encoder.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/rsa.h>

#include <memory>

#include "runtime/signing.h"

namespace qh {

namespace {

constexpr int kModulusBits = 3072;
constexpr unsigned kRsaF4 = 65537;

struct OpenSslFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
    void operator()(EVP_PKEY_CTX* context) const { EVP_PKEY_CTX_free(context); }
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
    void operator()(BIGNUM* number) const { BN_free(number); }
    void operator()(OSSL_DECODER_CTX* context) const { OSSL_DECODER_CTX_free(context); }
    void operator()(OSSL_ENCODER_CTX* context) const { OSSL_ENCODER_CTX_free(context); }
};
template <typename T>
using Owned = std::unique_ptr<T, OpenSslFree>;

// OpenSSL queues an error record for each failure of a call; the callers
// here report their own texts, so each public function leaves the thread's
// queue empty, as it found it.
struct ErrorQueueCleaner {
    ~ErrorQueueCleaner() { ERR_clear_error(); }
};

// Refuses every request for a pass phrase: an encrypted key file is refused
// instead of waiting for someone to type at the terminal.
int NoPassphrase(char*, int, int, void*) { return -1; }

// The RSA key of a PEM text whose block has the given structure
// ("type-specific" for PKCS#1, "SubjectPublicKeyInfo"); null for anything
// else.
Owned<EVP_PKEY> DecodeKey(std::string_view pem, const char* structure, int selection) {
    if (pem.empty()) return nullptr;
    EVP_PKEY* key = nullptr;
    Owned<OSSL_DECODER_CTX> decoder(
        OSSL_DECODER_CTX_new_for_pkey(&key, "PEM", structure, "RSA", selection, nullptr, nullptr));
    if (!decoder || OSSL_DECODER_CTX_set_pem_password_cb(decoder.get(), NoPassphrase, nullptr) != 1) return nullptr;
    const auto* data = reinterpret_cast<const unsigned char*>(pem.data());
    std::size_t size = pem.size();
    if (OSSL_DECODER_from_data(decoder.get(), &data, &size) != 1) {
        EVP_PKEY_free(key);
        return nullptr;
    }
    return Owned<EVP_PKEY>(key);
}

// Whether the key is one that both platforms take: 3072 bits, and a public
// exponent of at most 32 bits.
bool IsSigningKey(EVP_PKEY* key) {
    if (!EVP_PKEY_is_a(key, "RSA") || EVP_PKEY_get_bits(key) != kModulusBits) return false;
    BIGNUM* exponent = nullptr;
    if (EVP_PKEY_get_bn_param(key, OSSL_PKEY_PARAM_RSA_E, &exponent) != 1) return false;
    const Owned<BIGNUM> owned(exponent);
    return BN_num_bits(exponent) <= 32;
}

// A context for a PKCS#1 v1.5 signature over SHA-256, set up by init
// (EVP_DigestSignInit or EVP_DigestVerifyInit).
template <typename Init>
Owned<EVP_MD_CTX> DigestContext(EVP_PKEY* key, Init init) {
    Owned<EVP_MD_CTX> context(EVP_MD_CTX_new());
    EVP_PKEY_CTX* keyContext = nullptr;
    if (!context || init(context.get(), &keyContext, EVP_sha256(), nullptr, key) != 1 ||
        EVP_PKEY_CTX_set_rsa_padding(keyContext, RSA_PKCS1_PADDING) != 1) {
        return nullptr;
    }
    return context;
}

bool Verify(EVP_PKEY* key, std::string_view bytes, std::string_view signature) {
    if (signature.size() != kSignatureSize) return false;
    const auto context = DigestContext(key, EVP_DigestVerifyInit);
    return context && EVP_DigestVerify(context.get(), reinterpret_cast<const unsigned char*>(signature.data()),
                                       signature.size(), reinterpret_cast<const unsigned char*>(bytes.data()),
                                       bytes.size()) == 1;
}

// The key's file text in the given structure.
bool EncodeKey(EVP_PKEY* key, int selection, const char* structure, std::string& pem) {
    Owned<OSSL_ENCODER_CTX> encoder(OSSL_ENCODER_CTX_new_for_pkey(key, selection, "PEM", structure, nullptr));
    unsigned char* data = nullptr;
    std::size_t size = 0;
    if (!encoder || OSSL_ENCODER_to_data(encoder.get(), &data, &size) != 1) return false;
    pem.assign(reinterpret_cast<const char*>(data), size);
    OPENSSL_free(data);
    return true;
}

}  // namespace

bool MakeSigningKeys(std::string& privatePem, std::string& publicPem, Text& error) {
    const ErrorQueueCleaner cleaner;
    Owned<EVP_PKEY_CTX> context(EVP_PKEY_CTX_new_from_name(nullptr, "RSA", nullptr));
    Owned<BIGNUM> exponent(BN_new());
    EVP_PKEY* generated = nullptr;
    if (!context || !exponent || BN_set_word(exponent.get(), kRsaF4) != 1 ||
        EVP_PKEY_keygen_init(context.get()) != 1 ||
        EVP_PKEY_CTX_set_rsa_keygen_bits(context.get(), kModulusBits) != 1 ||
        EVP_PKEY_CTX_set1_rsa_keygen_pubexp(context.get(), exponent.get()) != 1 ||
        EVP_PKEY_generate(context.get(), &generated) != 1) {
        error = kKeyGenerationError;
        return false;
    }
    const Owned<EVP_PKEY> key(generated);
    std::string privateText;
    std::string publicText;
    if (!EncodeKey(key.get(), OSSL_KEYMGMT_SELECT_KEYPAIR, "type-specific", privateText) ||
        !EncodeKey(key.get(), OSSL_KEYMGMT_SELECT_PUBLIC_KEY, "SubjectPublicKeyInfo", publicText)) {
        error = kKeyGenerationError;
        return false;
    }
    privatePem = std::move(privateText);
    publicPem = std::move(publicText);
    return true;
}

bool SignDocument(std::string_view privatePem, std::string_view bytes, std::string& signature, Text& error) {
    const ErrorQueueCleaner cleaner;
    const auto key = DecodeKey(privatePem, "type-specific", OSSL_KEYMGMT_SELECT_KEYPAIR);
    if (!key) {
        error = kKeyFileInvalidError;
        return false;
    }
    if (!IsSigningKey(key.get())) {
        error = kKeyNotRsa3072Error;
        return false;
    }
    const auto context = DigestContext(key.get(), EVP_DigestSignInit);
    std::string value(kSignatureSize, '\0');
    std::size_t size = value.size();
    if (!context ||
        EVP_DigestSign(context.get(), reinterpret_cast<unsigned char*>(value.data()), &size,
                       reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()) != 1 ||
        size != kSignatureSize || !Verify(key.get(), bytes, value)) {
        error = kSigningError;
        return false;
    }
    signature = std::move(value);
    return true;
}

bool VerifyDocument(std::string_view publicPem, std::string_view bytes, std::string_view signature) {
    const ErrorQueueCleaner cleaner;
    if (signature.size() != kSignatureSize) return false;
    const auto key = DecodeKey(publicPem, "SubjectPublicKeyInfo", OSSL_KEYMGMT_SELECT_PUBLIC_KEY);
    return key && IsSigningKey(key.get()) && Verify(key.get(), bytes, signature);
}

}  // namespace qh
