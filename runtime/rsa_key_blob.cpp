#include "runtime/rsa_key_blob.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <utility>

namespace qh {

namespace {

// The values of wincrypt.h, which portable code does not include.
constexpr std::uint8_t kPublicKeyBlob = 0x06;
constexpr std::uint8_t kPrivateKeyBlob = 0x07;
constexpr std::uint8_t kBlobVersion = 2;
constexpr std::uint32_t kAlgorithmRsaSign = 0x00002400;
constexpr std::uint32_t kAlgorithmRsaExchange = 0x0000A400;
constexpr std::uint32_t kMagicPublic = 0x31415352;   // "RSA1"
constexpr std::uint32_t kMagicPrivate = 0x32415352;  // "RSA2"
constexpr std::size_t kHeaderSize = 20;              // BLOBHEADER and RSAPUBKEY

// CryptoAPI's RSA keys go no further than this.
constexpr std::uint32_t kLongestModulusBits = 16384;

void PutUint32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint32_t GetUint32(std::string_view in, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<std::uint8_t>(in[at + i]);
    return value;
}

std::string WithoutLeadingZeros(std::string_view number) {
    while (!number.empty() && number[0] == 0) number.remove_prefix(1);
    return std::string(number);
}

// Appends a big-endian number as a little-endian field of size bytes; false
// when it does not fit.
bool PutNumber(std::string& out, std::string_view number, std::size_t size) {
    const std::string digits = WithoutLeadingZeros(number);
    if (digits.size() > size) return false;
    out.append(digits.rbegin(), digits.rend());
    out.append(size - digits.size(), '\0');
    return true;
}

// The little-endian field of size bytes at at as a big-endian number.
std::string GetNumber(std::string_view in, std::size_t at, std::size_t size) {
    const std::string_view field = in.substr(at, size);
    return WithoutLeadingZeros(std::string(field.rbegin(), field.rend()));
}

// The header of both blobs; false when the modulus or exponent cannot be
// described by it.
bool PutHeader(std::string& out, std::uint8_t type, std::uint32_t magic, std::string_view modulus,
               std::string_view exponent, std::size_t& modulusBits) {
    const std::string e = WithoutLeadingZeros(exponent);
    modulusBits = BitLength(modulus);
    if (e.empty() || e.size() > 4 || modulusBits == 0 || modulusBits % 16 != 0 ||
        modulusBits > kLongestModulusBits) {
        return false;
    }
    std::uint32_t e32 = 0;
    for (const char c : e) e32 = (e32 << 8) | static_cast<std::uint8_t>(c);
    out.push_back(static_cast<char>(type));
    out.push_back(static_cast<char>(kBlobVersion));
    out.append(2, '\0');
    PutUint32(out, kAlgorithmRsaSign);
    PutUint32(out, magic);
    PutUint32(out, static_cast<std::uint32_t>(modulusBits));
    PutUint32(out, e32);
    return true;
}

}  // namespace

bool MakePublicKeyBlob(const RsaPublicKey& key, std::string& blob) {
    std::string out;
    std::size_t bits = 0;
    if (!PutHeader(out, kPublicKeyBlob, kMagicPublic, key.modulus, key.exponent, bits) ||
        !PutNumber(out, key.modulus, bits / 8)) {
        return false;
    }
    blob = std::move(out);
    return true;
}

bool MakePrivateKeyBlob(const RsaPrivateKey& key, std::string& blob) {
    std::string out;
    std::size_t bits = 0;
    if (!PutHeader(out, kPrivateKeyBlob, kMagicPrivate, key.modulus, key.publicExponent, bits) ||
        !PutNumber(out, key.modulus, bits / 8)) {
        return false;
    }
    for (const std::string* half : {&key.prime1, &key.prime2, &key.exponent1, &key.exponent2, &key.coefficient}) {
        if (!PutNumber(out, *half, bits / 16)) return false;
    }
    if (!PutNumber(out, key.privateExponent, bits / 8)) return false;
    blob = std::move(out);
    return true;
}

bool ReadPrivateKeyBlob(std::string_view blob, RsaPrivateKey& key) {
    if (blob.size() < kHeaderSize) return false;
    const std::uint32_t algorithm = GetUint32(blob, 4);
    const std::uint32_t bits = GetUint32(blob, 12);
    if (static_cast<std::uint8_t>(blob[0]) != kPrivateKeyBlob || static_cast<std::uint8_t>(blob[1]) != kBlobVersion ||
        (algorithm != kAlgorithmRsaSign && algorithm != kAlgorithmRsaExchange) || GetUint32(blob, 8) != kMagicPrivate ||
        bits == 0 || bits % 16 != 0 || bits > kLongestModulusBits) {
        return false;
    }
    const std::size_t full = bits / 8;
    const std::size_t half = bits / 16;
    if (blob.size() != kHeaderSize + 2 * full + 5 * half) return false;

    RsaPrivateKey read;
    const std::uint32_t exponent = GetUint32(blob, 16);
    for (int shift = 24; shift >= 0; shift -= 8) read.publicExponent.push_back(static_cast<char>(exponent >> shift));
    read.publicExponent = WithoutLeadingZeros(read.publicExponent);
    std::size_t at = kHeaderSize;
    read.modulus = GetNumber(blob, at, full);
    at += full;
    for (std::string* number : {&read.prime1, &read.prime2, &read.exponent1, &read.exponent2, &read.coefficient}) {
        *number = GetNumber(blob, at, half);
        at += half;
    }
    read.privateExponent = GetNumber(blob, at, full);
    if (BitLength(read.modulus) != bits) return false;
    for (const std::string* number : {&read.publicExponent, &read.privateExponent, &read.prime1, &read.prime2,
                                      &read.exponent1, &read.exponent2, &read.coefficient}) {
        if (number->empty()) return false;
    }
    key = std::move(read);
    return true;
}

}  // namespace qh
