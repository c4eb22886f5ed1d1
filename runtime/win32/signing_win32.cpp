// Key pairs, signatures and their check through CryptoAPI: the AES provider
// in a verify-only context, whose keys live only as long as the context.
// CryptoAPI reads and writes only its own key blobs, so the key files are
// turned into blobs and back by the portable PEM and DER code.
#include <windows.h>
#include <wincrypt.h>

#include <string>

#include "runtime/pem.h"
#include "runtime/rsa_key_blob.h"
#include "runtime/rsa_key_der.h"
#include "runtime/signing.h"

namespace qh {

namespace {

constexpr std::size_t kModulusBits = 3072;
constexpr char kPrivateLabel[] = "RSA PRIVATE KEY";
constexpr char kPublicLabel[] = "PUBLIC KEY";
constexpr char kRsaF4[] = "\x01\x00\x01";
// CryptGenKey takes the key's bits in the flags' upper half.
constexpr DWORD kGenerateFlags = (static_cast<DWORD>(kModulusBits) << 16) | CRYPT_EXPORTABLE;

class Provider {
public:
    Provider() {
        if (!CryptAcquireContextW(&handle_, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT)) handle_ = 0;
    }
    ~Provider() {
        if (handle_) CryptReleaseContext(handle_, 0);
    }
    Provider(const Provider&) = delete;
    Provider& operator=(const Provider&) = delete;
    HCRYPTPROV Get() const { return handle_; }

private:
    HCRYPTPROV handle_ = 0;
};

class Key {
public:
    Key() = default;
    ~Key() {
        if (handle_) CryptDestroyKey(handle_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HCRYPTKEY Get() const { return handle_; }
    HCRYPTKEY* Out() { return &handle_; }

private:
    HCRYPTKEY handle_ = 0;
};

// The SHA-256 hash object of a document.
class DocumentHash {
public:
    DocumentHash(HCRYPTPROV provider, std::string_view bytes) {
        if (!CryptCreateHash(provider, CALG_SHA_256, 0, 0, &handle_)) {
            handle_ = 0;
            return;
        }
        const auto* data = reinterpret_cast<const BYTE*>(bytes.data());
        std::size_t size = bytes.size();
        ok_ = true;
        while (ok_ && size > 0) {
            const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
            ok_ = CryptHashData(handle_, data, chunk, 0) != 0;
            data += chunk;
            size -= chunk;
        }
    }
    ~DocumentHash() {
        if (handle_) CryptDestroyHash(handle_);
    }
    DocumentHash(const DocumentHash&) = delete;
    DocumentHash& operator=(const DocumentHash&) = delete;
    bool Ok() const { return ok_; }
    HCRYPTHASH Get() const { return handle_; }

private:
    HCRYPTHASH handle_ = 0;
    bool ok_ = false;
};

// Overwrites key material before its memory is given back.
void Wipe(std::string& secret) {
    if (!secret.empty()) SecureZeroMemory(secret.data(), secret.size());
    secret.clear();
}

void Wipe(RsaPrivateKey& key) {
    for (std::string* number : {&key.privateExponent, &key.prime1, &key.prime2, &key.exponent1, &key.exponent2,
                                &key.coefficient}) {
        Wipe(*number);
    }
}

// Whether the key is one that both platforms take: 3072 bits, and a public
// exponent of at most 32 bits (the readers give numbers without leading
// zeros).
bool IsSigningKey(const std::string& modulus, const std::string& exponent) {
    return BitLength(modulus) == kModulusBits && exponent.size() <= 4;
}

bool ImportBlob(HCRYPTPROV provider, const std::string& blob, Key& key) {
    return CryptImportKey(provider, reinterpret_cast<const BYTE*>(blob.data()), static_cast<DWORD>(blob.size()), 0, 0,
                          key.Out()) != 0;
}

// CryptoAPI's signatures are little-endian numbers, OpenSSL's big-endian.
std::string Reversed(std::string_view bytes) { return std::string(bytes.rbegin(), bytes.rend()); }

bool Verify(HCRYPTPROV provider, const RsaPublicKey& publicKey, std::string_view bytes, std::string_view signature) {
    std::string blob;
    Key key;
    if (signature.size() != kSignatureSize || !MakePublicKeyBlob(publicKey, blob) ||
        !ImportBlob(provider, blob, key)) {
        return false;
    }
    const DocumentHash hash(provider, bytes);
    const std::string value = Reversed(signature);
    return hash.Ok() && CryptVerifySignatureW(hash.Get(), reinterpret_cast<const BYTE*>(value.data()),
                                              static_cast<DWORD>(value.size()), key.Get(), nullptr, 0) != 0;
}

// Signs with the context's signature key, which the import of a
// CALG_RSA_SIGN private blob has made.
bool SignWithContextKey(HCRYPTPROV provider, std::string_view bytes, std::string& signature) {
    const DocumentHash hash(provider, bytes);
    std::string value(kSignatureSize, '\0');
    DWORD size = static_cast<DWORD>(value.size());
    if (!hash.Ok() ||
        !CryptSignHashW(hash.Get(), AT_SIGNATURE, nullptr, 0, reinterpret_cast<BYTE*>(value.data()), &size) ||
        size != kSignatureSize) {
        return false;
    }
    signature = Reversed(value);
    return true;
}

bool ExportPrivateBlob(const Key& key, std::string& blob) {
    DWORD size = 0;
    if (!CryptExportKey(key.Get(), 0, PRIVATEKEYBLOB, 0, nullptr, &size)) return false;
    blob.assign(size, '\0');
    if (!CryptExportKey(key.Get(), 0, PRIVATEKEYBLOB, 0, reinterpret_cast<BYTE*>(blob.data()), &size)) return false;
    blob.resize(size);
    return true;
}

}  // namespace

bool MakeSigningKeys(std::string& privatePem, std::string& publicPem, Text& error) {
    const Provider provider;
    Key key;
    std::string blob;
    RsaPrivateKey made;
    const bool ok = provider.Get() &&
                    CryptGenKey(provider.Get(), AT_SIGNATURE, kGenerateFlags, key.Out()) &&
                    ExportPrivateBlob(key, blob) && ReadPrivateKeyBlob(blob, made) &&
                    BitLength(made.modulus) == kModulusBits && made.publicExponent == std::string(kRsaF4, 3);
    Wipe(blob);
    if (!ok) {
        Wipe(made);
        error = kKeyGenerationError;
        return false;
    }
    std::string der = WriteRsaPrivateKeyDer(made);
    privatePem = WritePem(kPrivateLabel, der);
    publicPem = WritePem(kPublicLabel, WriteRsaPublicKeyDer({made.modulus, made.publicExponent}));
    Wipe(der);
    Wipe(made);
    return true;
}

bool SignDocument(std::string_view privatePem, std::string_view bytes, std::string& signature, Text& error) {
    std::string der;
    RsaPrivateKey key;
    const bool read = ReadPem(privatePem, kPrivateLabel, der) && ReadRsaPrivateKeyDer(der, key);
    Wipe(der);
    if (!read) {
        error = kKeyFileInvalidError;
        return false;
    }
    if (!IsSigningKey(key.modulus, key.publicExponent)) {
        Wipe(key);
        error = kKeyNotRsa3072Error;
        return false;
    }
    std::string blob;
    const bool made = MakePrivateKeyBlob(key, blob);
    const RsaPublicKey publicKey{key.modulus, key.publicExponent};
    Wipe(key);
    if (!made) {
        // Primes of unequal lengths have no place in CryptoAPI's blob.
        error = kKeyFileInvalidError;
        return false;
    }

    const Provider provider;
    Key imported;
    std::string value;
    const bool signedOk = provider.Get() && ImportBlob(provider.Get(), blob, imported) &&
                          SignWithContextKey(provider.Get(), bytes, value) &&
                          Verify(provider.Get(), publicKey, bytes, value);
    Wipe(blob);
    if (!signedOk) {
        error = kSigningError;
        return false;
    }
    signature = std::move(value);
    return true;
}

bool VerifyDocument(std::string_view publicPem, std::string_view bytes, std::string_view signature) {
    if (signature.size() != kSignatureSize) return false;
    std::string der;
    RsaPublicKey key;
    if (!ReadPem(publicPem, kPublicLabel, der) || !ReadRsaPublicKeyDer(der, key) ||
        !IsSigningKey(key.modulus, key.exponent)) {
        return false;
    }
    const Provider provider;
    return provider.Get() && Verify(provider.Get(), key, bytes, signature);
}

}  // namespace qh
