// RSA keys in CryptoAPI's own layout, the PUBLICKEYBLOB and PRIVATEKEYBLOB
// that CryptImportKey takes and CryptExportKey gives. They are plain bytes,
// built here in portable code so that their layout is tested on every
// platform; only the Windows build hands them to the system.
//
// A blob is a BLOBHEADER (type, version 2, reserved, algorithm), an
// RSAPUBKEY (magic "RSA1" or "RSA2", modulus bits, a 32-bit public
// exponent) and the numbers, every field little-endian. The private blob's
// numbers have fixed lengths: the modulus and private exponent one byte per
// eight bits of the modulus, the primes and their exponents and coefficient
// half of that.
#pragma once

#include <string>
#include <string_view>

#include "runtime/rsa_key_der.h"

namespace qh {

// The blobs of a signature key (CALG_RSA_SIGN). False when the key cannot be
// put in that layout: a public exponent wider than 32 bits, a modulus whose
// bits are not a multiple of 16, or a number too long for its field.
bool MakePublicKeyBlob(const RsaPublicKey& key, std::string& blob);
bool MakePrivateKeyBlob(const RsaPrivateKey& key, std::string& blob);

// The numbers of an exported PRIVATEKEYBLOB of a signature or exchange key.
// False unless the blob is exactly one such key.
bool ReadPrivateKeyBlob(std::string_view blob, RsaPrivateKey& key);

}  // namespace qh
