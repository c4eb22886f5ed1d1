// Key pairs, signatures and their check through CryptoAPI: the AES provider
// in a verify-only context, whose keys live only as long as the context.
// CryptoAPI reads the key files itself: CryptStringToBinaryA takes the PEM
// armour off, CryptDecodeObjectEx turns the DER into a key blob or a public
// key info, and CryptImportKey or CryptImportPublicKeyInfo imports it. What
// it lacks is written here: PEM with a label other than a certificate's, and
// (in Wine's crypt32) the PKCS#1 structure of a new private key.
#include <windows.h>
#include <wincrypt.h>

#include <cstring>
#include <string>

#include "runtime/signing.h"
#include "runtime/win32/private_key_der_win32.h"

namespace qh {

namespace {

constexpr DWORD kModulusBits = 3072;
constexpr DWORD kRsaF4 = 65537;
constexpr char kPrivateLabel[] = "RSA PRIVATE KEY";
constexpr char kPublicLabel[] = "PUBLIC KEY";
// Key files are a few kilobytes; anything far larger is not one.
constexpr std::size_t kMaxKeyFileSize = 64 * 1024;
constexpr DWORD kEncoding = X509_ASN_ENCODING | PKCS_7_ASN_ENCODING;
// CryptGenKey takes the key's bits in the flags' upper half.
constexpr DWORD kGenerateFlags = (kModulusBits << 16) | CRYPT_EXPORTABLE;

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

// A structure CryptoAPI allocated with LocalAlloc (the ALLOC flags of
// CryptDecodeObjectEx and CryptEncodeObjectEx). Its bytes are overwritten
// before they are given back, since some of them are private keys.
class LocalBlock {
public:
    LocalBlock() = default;
    ~LocalBlock() {
        if (!data_) return;
        SecureZeroMemory(data_, size_);
        LocalFree(data_);
    }
    LocalBlock(const LocalBlock&) = delete;
    LocalBlock& operator=(const LocalBlock&) = delete;
    void* Out() { return &data_; }
    DWORD* Size() { return &size_; }
    DWORD Length() const { return size_; }
    BYTE* Bytes() const { return static_cast<BYTE*>(data_); }
    template <typename T>
    T* As() const {
        return static_cast<T*>(data_);
    }

private:
    void* data_ = nullptr;
    DWORD size_ = 0;
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

// The DER bytes of a PEM file whose BEGIN and END lines carry the label.
// The lines are checked here because CryptStringToBinaryA takes any BEGIN
// line, and Wine's a block without its END line.
bool PemToDer(std::string_view pem, std::string_view label, std::string& der) {
    const std::string begin = "-----BEGIN " + std::string(label) + "-----";
    const std::string end = "-----END " + std::string(label) + "-----";
    const std::size_t beginAt = pem.find(begin);
    if (pem.size() > kMaxKeyFileSize || beginAt == std::string_view::npos ||
        pem.find(end, beginAt + begin.size()) == std::string_view::npos) {
        return false;
    }
    DWORD size = 0;
    const auto length = static_cast<DWORD>(pem.size());
    if (!CryptStringToBinaryA(pem.data(), length, CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr, nullptr) ||
        size == 0) {
        return false;
    }
    der.assign(size, '\0');
    if (!CryptStringToBinaryA(pem.data(), length, CRYPT_STRING_BASE64HEADER, reinterpret_cast<BYTE*>(der.data()),
                              &size, nullptr, nullptr)) {
        Wipe(der);
        return false;
    }
    der.resize(size);
    return true;
}

// The PEM armour OpenSSL writes: lines of 64 base64 characters, each line
// (the last one too) ending in LF, between the BEGIN and END lines.
bool DerToPem(const BYTE* der, DWORD size, std::string_view label, std::string& pem) {
    constexpr DWORD kFlags = CRYPT_STRING_BASE64 | CRYPT_STRING_NOCR;
    DWORD length = 0;
    if (!CryptBinaryToStringA(der, size, kFlags, nullptr, &length) || length == 0) return false;
    std::string body(length, '\0');
    if (!CryptBinaryToStringA(der, size, kFlags, body.data(), &length)) return false;
    body.resize(length);
    while (!body.empty() && body.back() == '\0') body.pop_back();
    if (body.empty() || body.back() != '\n') body += '\n';
    pem = "-----BEGIN " + std::string(label) + "-----\n" + body + "-----END " + std::string(label) + "-----\n";
    Wipe(body);
    return true;
}

// The bits of a key's modulus, as CryptoAPI reports them.
DWORD KeyBits(const Key& key) {
    DWORD bits = 0;
    DWORD size = sizeof bits;
    if (!CryptGetKeyParam(key.Get(), KP_KEYLEN, reinterpret_cast<BYTE*>(&bits), &size, 0)) return 0;
    return bits;
}

// Imports an X.509 SubjectPublicKeyInfo of an RSA-3072 key.
bool ImportPublicKey(HCRYPTPROV provider, std::string_view publicPem, Key& key) {
    std::string der;
    LocalBlock info;
    if (!PemToDer(publicPem, kPublicLabel, der) ||
        !CryptDecodeObjectEx(kEncoding, X509_PUBLIC_KEY_INFO, reinterpret_cast<const BYTE*>(der.data()),
                             static_cast<DWORD>(der.size()), CRYPT_DECODE_ALLOC_FLAG, nullptr, info.Out(),
                             info.Size())) {
        return false;
    }
    auto* publicKey = info.As<CERT_PUBLIC_KEY_INFO>();
    if (!publicKey->Algorithm.pszObjId || std::strcmp(publicKey->Algorithm.pszObjId, szOID_RSA_RSA) != 0) return false;
    return CryptImportPublicKeyInfo(provider, kEncoding, publicKey, key.Out()) && KeyBits(key) == kModulusBits;
}

// The error for the user when the PKCS#1 private key file cannot be used,
// or an empty text when it was imported as the context's signature key.
Text ImportPrivateKey(HCRYPTPROV provider, std::string_view privatePem, Key& key) {
    std::string der;
    LocalBlock blob;
    const bool decoded = PemToDer(privatePem, kPrivateLabel, der) &&
                         CryptDecodeObjectEx(kEncoding, PKCS_RSA_PRIVATE_KEY, reinterpret_cast<const BYTE*>(der.data()),
                                             static_cast<DWORD>(der.size()), CRYPT_DECODE_ALLOC_FLAG, nullptr,
                                             blob.Out(), blob.Size());
    Wipe(der);
    if (!decoded || blob.Length() < sizeof(BLOBHEADER) + sizeof(RSAPUBKEY)) return kKeyFileInvalidError;
    const auto* numbers = reinterpret_cast<const RSAPUBKEY*>(blob.Bytes() + sizeof(BLOBHEADER));
    if (numbers->bitlen != kModulusBits) return kKeyNotRsa3072Error;
    // Imported as a signature key, it becomes the context's AT_SIGNATURE key.
    blob.As<BLOBHEADER>()->aiKeyAlg = CALG_RSA_SIGN;
    if (!CryptImportKey(provider, blob.Bytes(), blob.Length(), 0, 0, key.Out())) return kKeyFileInvalidError;
    return {};
}

// CryptoAPI's signatures are little-endian numbers, OpenSSL's big-endian.
std::string Reversed(std::string_view bytes) { return std::string(bytes.rbegin(), bytes.rend()); }

bool Verify(HCRYPTPROV provider, const Key& key, std::string_view bytes, std::string_view signature) {
    if (signature.size() != kSignatureSize) return false;
    const DocumentHash hash(provider, bytes);
    const std::string value = Reversed(signature);
    return hash.Ok() && CryptVerifySignatureW(hash.Get(), reinterpret_cast<const BYTE*>(value.data()),
                                              static_cast<DWORD>(value.size()), key.Get(), nullptr, 0) != 0;
}

// Signs with the context's signature key.
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

// The new key's private half as PKCS#1 DER, from its exported blob.
bool EncodePrivateKey(const Key& key, std::string& der) {
    DWORD size = 0;
    if (!CryptExportKey(key.Get(), 0, PRIVATEKEYBLOB, 0, nullptr, &size)) return false;
    std::string blob(size, '\0');
    auto* bytes = reinterpret_cast<BYTE*>(blob.data());
    bool ok = CryptExportKey(key.Get(), 0, PRIVATEKEYBLOB, 0, bytes, &size) && size >= sizeof(BLOBHEADER) + sizeof(RSAPUBKEY);
    if (ok) {
        blob.resize(size);
        const auto* numbers = reinterpret_cast<const RSAPUBKEY*>(bytes + sizeof(BLOBHEADER));
        ok = numbers->bitlen == kModulusBits && numbers->pubexp == kRsaF4;
        if (ok) der = win32::PrivateKeyBlobToDer(blob);
        ok = ok && !der.empty();
    }
    Wipe(blob);
    return ok;
}

// The new key's public half as an X.509 SubjectPublicKeyInfo in DER, from
// its exported blob: the PKCS#1 public key under the rsaEncryption
// algorithm with NULL parameters, as OpenSSL writes it. (Taken from the key
// itself rather than from the context's AT_SIGNATURE key, which a
// verify-only context need not keep.)
bool EncodePublicKey(const Key& key, LocalBlock& der) {
    DWORD size = 0;
    if (!CryptExportKey(key.Get(), 0, PUBLICKEYBLOB, 0, nullptr, &size)) return false;
    std::string blob(size, '\0');
    LocalBlock rsaKey;
    if (!CryptExportKey(key.Get(), 0, PUBLICKEYBLOB, 0, reinterpret_cast<BYTE*>(blob.data()), &size) ||
        !CryptEncodeObjectEx(kEncoding, RSA_CSP_PUBLICKEYBLOB, blob.data(), CRYPT_ENCODE_ALLOC_FLAG, nullptr,
                             rsaKey.Out(), rsaKey.Size())) {
        return false;
    }
    static constexpr BYTE kNullParameters[] = {0x05, 0x00};
    static constexpr char kRsaEncryption[] = szOID_RSA_RSA;
    CERT_PUBLIC_KEY_INFO info{};
    info.Algorithm.pszObjId = const_cast<char*>(kRsaEncryption);
    info.Algorithm.Parameters = {sizeof kNullParameters, const_cast<BYTE*>(kNullParameters)};
    info.PublicKey = {rsaKey.Length(), rsaKey.Bytes(), 0};
    return CryptEncodeObjectEx(kEncoding, X509_PUBLIC_KEY_INFO, &info, CRYPT_ENCODE_ALLOC_FLAG, nullptr, der.Out(),
                               der.Size());
}

}  // namespace

bool MakeSigningKeys(std::string& privatePem, std::string& publicPem, Text& error) {
    const Provider provider;
    Key key;
    std::string privateDer;
    LocalBlock publicDer;
    std::string madePrivate;
    std::string madePublic;
    if (!provider.Get() || !CryptGenKey(provider.Get(), AT_SIGNATURE, kGenerateFlags, key.Out()) ||
        !EncodePrivateKey(key, privateDer) || !EncodePublicKey(key, publicDer) ||
        !DerToPem(reinterpret_cast<const BYTE*>(privateDer.data()), static_cast<DWORD>(privateDer.size()),
                  kPrivateLabel, madePrivate) ||
        !DerToPem(publicDer.Bytes(), publicDer.Length(), kPublicLabel, madePublic)) {
        Wipe(privateDer);
        Wipe(madePrivate);
        error = kKeyGenerationError;
        return false;
    }
    Wipe(privateDer);
    privatePem = std::move(madePrivate);
    publicPem = std::move(madePublic);
    return true;
}

bool SignDocument(std::string_view privatePem, std::string_view bytes, std::string& signature, Text& error) {
    const Provider provider;
    if (!provider.Get()) {
        error = kSigningError;
        return false;
    }
    Key key;
    const Text refused = ImportPrivateKey(provider.Get(), privatePem, key);
    if (!refused.empty()) {
        error = refused;
        return false;
    }
    // The signature is checked with the key's public half before it is given:
    // a damaged key file signs wrongly, and that must not leave here.
    std::string value;
    if (!SignWithContextKey(provider.Get(), bytes, value) || !Verify(provider.Get(), key, bytes, value)) {
        error = kSigningError;
        return false;
    }
    signature = std::move(value);
    return true;
}

bool VerifyDocument(std::string_view publicPem, std::string_view bytes, std::string_view signature) {
    if (signature.size() != kSignatureSize) return false;
    const Provider provider;
    Key key;
    return provider.Get() && ImportPublicKey(provider.Get(), publicPem, key) &&
           Verify(provider.Get(), key, bytes, signature);
}

}  // namespace qh
