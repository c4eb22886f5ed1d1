#include "runtime/win32/private_key_der_win32.h"

#include <windows.h>
#include <wincrypt.h>

#include <cstring>

namespace qh::win32 {
namespace {

constexpr char kInteger = 0x02;
constexpr char kSequence = 0x30;
constexpr std::uint32_t kMagicPrivate = 0x32415352;  // "RSA2"
constexpr std::size_t kHeaderSize = sizeof(BLOBHEADER) + sizeof(RSAPUBKEY);

// A DER element: the tag, the length in its shortest form, the content.
std::string Element(char tag, const std::string& content) {
    std::string out(1, tag);
    const std::size_t length = content.size();
    if (length < 0x80) {
        out += static_cast<char>(length);
    } else {
        std::string bytes;
        for (std::size_t rest = length; rest != 0; rest >>= 8) bytes.insert(bytes.begin(), static_cast<char>(rest & 0xFF));
        out += static_cast<char>(0x80 | bytes.size());
        out += bytes;
    }
    return out + content;
}

// A non-negative INTEGER from a big-endian number: no leading zero bytes,
// except one where the top bit would otherwise make it negative.
std::string Integer(std::string number) {
    const std::size_t first = number.find_first_not_of('\0');
    number.erase(0, first == std::string::npos ? number.size() : first);
    if (number.empty() || (static_cast<unsigned char>(number[0]) & 0x80) != 0) number.insert(number.begin(), '\0');
    return Element(kInteger, number);
}

// The blob's little-endian number of length bytes at at, big-endian.
std::string Number(std::string_view blob, std::size_t at, std::size_t length) {
    const std::string_view bytes = blob.substr(at, length);
    return std::string(bytes.rbegin(), bytes.rend());
}

}  // namespace

std::string PrivateKeyBlobToDer(std::string_view blob) {
    if (blob.size() < kHeaderSize) return {};
    BLOBHEADER header;
    RSAPUBKEY numbers;
    std::memcpy(&header, blob.data(), sizeof header);
    std::memcpy(&numbers, blob.data() + sizeof header, sizeof numbers);
    if (header.bType != PRIVATEKEYBLOB || numbers.magic != kMagicPrivate || numbers.bitlen == 0 ||
        numbers.bitlen % 16 != 0) {
        return {};
    }
    // The modulus, the two primes, their exponents and the coefficient, and
    // the private exponent, in that order; the halves are half as long.
    const std::size_t full = numbers.bitlen / 8;
    const std::size_t half = numbers.bitlen / 16;
    if (blob.size() != kHeaderSize + 2 * full + 5 * half) return {};
    std::string exponent;
    for (int shift = 24; shift >= 0; shift -= 8) exponent += static_cast<char>((numbers.pubexp >> shift) & 0xFF);

    std::size_t at = kHeaderSize;
    const std::string modulus = Number(blob, at, full);
    at += full;
    std::string halves[5];  // prime1, prime2, exponent1, exponent2, coefficient
    for (std::string& number : halves) {
        number = Number(blob, at, half);
        at += half;
    }
    const std::string privateExponent = Number(blob, at, full);
    std::string body = Integer({}) + Integer(modulus) + Integer(exponent) + Integer(privateExponent);
    for (const std::string& number : halves) body += Integer(number);
    std::string der = Element(kSequence, body);
    SecureZeroMemory(body.data(), body.size());
    return der;
}

}  // namespace qh::win32
