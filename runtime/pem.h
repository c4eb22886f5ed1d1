// The PEM armour of key files: DER bytes as base64 between "-----BEGIN
// <label>-----" and "-----END <label>-----" lines, the way OpenSSL writes
// them, so that the key files of both platforms and of the openssl tool are
// the same files.
#pragma once

#include <string>
#include <string_view>

namespace qh {

// The DER bytes of the first block with the given label ("RSA PRIVATE KEY",
// "PUBLIC KEY"). Text before the BEGIN line and after the END line is
// ignored; line breaks (LF or CR LF), spaces and tabs inside the block are
// skipped. False for a missing or unterminated block, for any other
// character inside it (so an encrypted key's header lines are refused), for
// base64 that is cut short or padded in the middle, and for an empty block.
bool ReadPem(std::string_view text, std::string_view label, std::string& der);

// The block as OpenSSL writes it: lines of 64 base64 characters, each line
// (the last one too) ending in LF.
std::string WritePem(std::string_view label, std::string_view der);

}  // namespace qh
