#include "runtime/hex.h"

#include "runtime/convert.h"

namespace qh {
namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

// The value of a pair of characters read as a base-16 number, or 0 when any
// of them is not a hexadecimal digit. The pair is mapped to half-width
// upper-case characters first, the way numbers typed in a box are read;
// a full-width digit pair maps to a single character.
unsigned char PairValue(const Text& pair) {
    const bool ascii = static_cast<unsigned char>(pair[0]) < 0x80 &&
                       static_cast<unsigned char>(pair[1]) < 0x80;
    // Plain ASCII is its own half-width form; only other bytes go through
    // the platform's mapping.
    const Text half = ascii ? pair : ToHalfWidth(pair);
    unsigned value = 0;
    for (char c : half) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        const char* digit = nullptr;
        for (const char* d = kDigits; *d != '\0'; ++d) {
            if (*d == c) digit = d;
        }
        if (digit == nullptr) return 0;
        value = value * 16 + static_cast<unsigned>(digit - kDigits);
    }
    return static_cast<unsigned char>(value);
}

}  // namespace

Text HexEncode(std::string_view bytes) {
    Text out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out.push_back(kDigits[b >> 4]);
        out.push_back(kDigits[b & 0x0F]);
    }
    return out;
}

Text HexDecode(const Text& text) {
    Text out;
    const size_t pairs = text.size() / 2;
    for (size_t i = 0; i < pairs; ++i) {
        const unsigned char value = PairValue(text.substr(i * 2, 2));
        if (value == 0) break;
        out.push_back(static_cast<char>(value));
    }
    return out;
}

}  // namespace qh
