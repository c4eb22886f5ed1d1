#include "runtime/rsa_key_der.h"

#include <cstdint>
#include <initializer_list>
#include <utility>

namespace qh {

namespace {

constexpr std::uint8_t kInteger = 0x02;
constexpr std::uint8_t kBitString = 0x03;
constexpr std::uint8_t kNull = 0x05;
constexpr std::uint8_t kObjectId = 0x06;
constexpr std::uint8_t kSequence = 0x30;

// The object identifier 1.2.840.113549.1.1.1, rsaEncryption, as DER content.
constexpr std::string_view kRsaEncryption("\x2A\x86\x48\x86\xF7\x0D\x01\x01\x01", 9);

// Key files hold a few kilobytes; a longer element is refused rather than
// trusted.
constexpr std::size_t kLongestElement = 0xFFFF;

// Reads elements one after another from a span of DER bytes.
class DerReader {
public:
    explicit DerReader(std::string_view data) : rest_(data) {}

    bool AtEnd() const { return rest_.empty(); }

    // The content of the next element, which must carry tag.
    bool Element(std::uint8_t tag, std::string_view& content) {
        if (rest_.size() < 2 || static_cast<std::uint8_t>(rest_[0]) != tag) return false;
        std::size_t length = static_cast<std::uint8_t>(rest_[1]);
        std::size_t header = 2;
        if (length >= 0x80) {
            // Long form: one or two length bytes, only where the short
            // form (or one byte) could not hold the length.
            const std::size_t count = length - 0x80;
            if (count < 1 || count > 2 || rest_.size() < 2 + count) return false;
            length = 0;
            for (std::size_t i = 0; i < count; ++i) length = (length << 8) | static_cast<std::uint8_t>(rest_[2 + i]);
            if (length < 0x80 || (count == 2 && length < 0x100) || length > kLongestElement) return false;
            header += count;
        }
        if (rest_.size() - header < length) return false;
        content = rest_.substr(header, length);
        rest_.remove_prefix(header + length);
        return true;
    }

    // A non-negative INTEGER as big-endian bytes without leading zeros
    // (zero gives no bytes).
    bool Integer(std::string& number) {
        std::string_view content;
        if (!Element(kInteger, content) || content.empty()) return false;
        const auto first = static_cast<std::uint8_t>(content[0]);
        if (first & 0x80) return false;  // negative
        if (first == 0 && content.size() > 1) {
            // A zero byte may only stand before a byte whose high bit is set.
            if (!(static_cast<std::uint8_t>(content[1]) & 0x80)) return false;
        }
        if (first == 0) content.remove_prefix(1);
        number.assign(content);
        return true;
    }

    // An INTEGER that must be positive.
    bool PositiveInteger(std::string& number) { return Integer(number) && !number.empty(); }

private:
    std::string_view rest_;
};

// The element of tag around content, with the length in its shortest form.
std::string EncodeElement(std::uint8_t tag, std::string_view content) {
    std::string out(1, static_cast<char>(tag));
    const std::size_t length = content.size();
    if (length < 0x80) {
        out.push_back(static_cast<char>(length));
    } else {
        std::string lengthBytes;
        for (std::size_t rest = length; rest != 0; rest >>= 8) {
            lengthBytes.insert(lengthBytes.begin(), static_cast<char>(rest & 0xFF));
        }
        out.push_back(static_cast<char>(0x80 + lengthBytes.size()));
        out += lengthBytes;
    }
    out.append(content);
    return out;
}

// A non-negative INTEGER from big-endian bytes; a zero byte goes first where
// the number's top bit is set, so it does not read as negative.
std::string EncodeInteger(std::string_view number) {
    while (!number.empty() && number[0] == 0) number.remove_prefix(1);
    std::string content;
    if (number.empty() || (static_cast<std::uint8_t>(number[0]) & 0x80)) content.push_back('\0');
    content.append(number);
    return EncodeElement(kInteger, content);
}

}  // namespace

bool ReadRsaPrivateKeyDer(std::string_view der, RsaPrivateKey& key) {
    DerReader outer(der);
    std::string_view body;
    if (!outer.Element(kSequence, body) || !outer.AtEnd()) return false;
    DerReader fields(body);
    std::string version;
    RsaPrivateKey read;
    if (!fields.Integer(version) || !version.empty()) return false;
    for (std::string* number : {&read.modulus, &read.publicExponent, &read.privateExponent, &read.prime1,
                                &read.prime2, &read.exponent1, &read.exponent2, &read.coefficient}) {
        if (!fields.PositiveInteger(*number)) return false;
    }
    if (!fields.AtEnd()) return false;
    key = std::move(read);
    return true;
}

bool ReadRsaPublicKeyDer(std::string_view der, RsaPublicKey& key) {
    DerReader outer(der);
    std::string_view info;
    if (!outer.Element(kSequence, info) || !outer.AtEnd()) return false;

    DerReader infoFields(info);
    std::string_view algorithm;
    std::string_view bits;
    if (!infoFields.Element(kSequence, algorithm) || !infoFields.Element(kBitString, bits) ||
        !infoFields.AtEnd()) {
        return false;
    }

    DerReader algorithmFields(algorithm);
    std::string_view oid;
    std::string_view parameters;
    if (!algorithmFields.Element(kObjectId, oid) || oid != kRsaEncryption ||
        !algorithmFields.Element(kNull, parameters) || !parameters.empty() || !algorithmFields.AtEnd()) {
        return false;
    }

    // The key is the BIT STRING's content after its count of unused bits,
    // which must be none.
    if (bits.empty() || bits[0] != 0) return false;
    DerReader keyOuter(bits.substr(1));
    std::string_view keyBody;
    if (!keyOuter.Element(kSequence, keyBody) || !keyOuter.AtEnd()) return false;
    DerReader keyFields(keyBody);
    RsaPublicKey read;
    if (!keyFields.PositiveInteger(read.modulus) || !keyFields.PositiveInteger(read.exponent) ||
        !keyFields.AtEnd()) {
        return false;
    }
    key = std::move(read);
    return true;
}

std::string WriteRsaPrivateKeyDer(const RsaPrivateKey& key) {
    std::string body = EncodeInteger({});  // version 0: two primes
    for (const std::string* number : {&key.modulus, &key.publicExponent, &key.privateExponent, &key.prime1,
                                      &key.prime2, &key.exponent1, &key.exponent2, &key.coefficient}) {
        body += EncodeInteger(*number);
    }
    return EncodeElement(kSequence, body);
}

std::string WriteRsaPublicKeyDer(const RsaPublicKey& key) {
    const std::string algorithm =
        EncodeElement(kSequence, EncodeElement(kObjectId, kRsaEncryption) + EncodeElement(kNull, {}));
    const std::string publicKey =
        EncodeElement(kSequence, EncodeInteger(key.modulus) + EncodeInteger(key.exponent));
    return EncodeElement(kSequence, algorithm + EncodeElement(kBitString, std::string(1, '\0') + publicKey));
}

std::size_t BitLength(std::string_view number) {
    while (!number.empty() && number[0] == 0) number.remove_prefix(1);
    if (number.empty()) return 0;
    std::size_t bits = (number.size() - 1) * 8;
    for (auto top = static_cast<std::uint8_t>(number[0]); top != 0; top >>= 1) ++bits;
    return bits;
}

}  // namespace qh
