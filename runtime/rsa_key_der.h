// The two DER structures of RSA key files, read and written in portable code
// so that the Windows build, whose CryptoAPI knows only its own key blobs,
// reads and writes the same files as OpenSSL: the private key as PKCS#1
// RSAPrivateKey and the public key as X.509 SubjectPublicKeyInfo.
//
// Nothing else of ASN.1 is understood. The reader is strict DER: definite
// lengths in their shortest form, integers in their shortest form and never
// negative, the structure whole with nothing after it. Every length is
// checked against the bytes that remain, so no input reads past its end.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qh {

// The numbers of an RSA key, each as big-endian bytes without leading zero
// bytes.
struct RsaPublicKey {
    std::string modulus;
    std::string exponent;
};

struct RsaPrivateKey {
    std::string modulus;
    std::string publicExponent;
    std::string privateExponent;
    std::string prime1;
    std::string prime2;
    std::string exponent1;    // d mod (prime1 - 1)
    std::string exponent2;    // d mod (prime2 - 1)
    std::string coefficient;  // the inverse of prime2 mod prime1
};

// Reads a two-prime PKCS#1 RSAPrivateKey (version 0). False for anything
// else, and for a key with a number that is zero.
bool ReadRsaPrivateKeyDer(std::string_view der, RsaPrivateKey& key);

// Reads a SubjectPublicKeyInfo of the rsaEncryption algorithm with NULL
// parameters, whose key is a PKCS#1 RSAPublicKey. False for anything else.
bool ReadRsaPublicKeyDer(std::string_view der, RsaPublicKey& key);

// The DER encodings as OpenSSL writes them.
std::string WriteRsaPrivateKeyDer(const RsaPrivateKey& key);
std::string WriteRsaPublicKeyDer(const RsaPublicKey& key);

// The number of bits of a big-endian number (leading zero bytes allowed).
std::size_t BitLength(std::string_view number);

}  // namespace qh
