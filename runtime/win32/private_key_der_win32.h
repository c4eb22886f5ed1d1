// The PKCS#1 RSAPrivateKey DER of a key CryptoAPI exported as a
// PRIVATEKEYBLOB: the file OpenSSL writes for a private key. CryptoAPI reads
// this structure (CryptDecodeObjectEx, PKCS_RSA_PRIVATE_KEY) but not every
// crypt32 writes it (Wine's has no encoder for it), so it is written here.
#pragma once

#include <string>
#include <string_view>

namespace qh::win32 {

// The DER, or an empty text when blob is not exactly one PRIVATEKEYBLOB of
// an RSA key whose modulus bits are a multiple of 16.
std::string PrivateKeyBlobToDer(std::string_view blob);

}  // namespace qh::win32
