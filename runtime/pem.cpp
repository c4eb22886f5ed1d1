#include "runtime/pem.h"

#include <array>
#include <cstdint>
#include <utility>

namespace qh {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The value of each base64 symbol; -1 for every byte that is not one.
constexpr std::array<std::int8_t, 256> kSymbolValues = [] {
    std::array<std::int8_t, 256> values{};
    for (auto& v : values) v = -1;
    for (int i = 0; i < 64; ++i) values[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::int8_t>(i);
    return values;
}();

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Decodes the base64 body of a block. Padding may only close the last group
// of four, and nothing but white space may follow it.
bool DecodeBase64(std::string_view body, std::string& bytes) {
    bytes.clear();
    std::uint32_t group = 0;
    int symbols = 0;
    int padding = 0;
    for (const char c : body) {
        if (IsSpace(c)) continue;
        if (c == '=') {
            // "xx==" and "xxx=" are the only padded groups.
            if (symbols < 2 || symbols + padding >= 4) return false;
            ++padding;
            continue;
        }
        const int value = kSymbolValues[static_cast<unsigned char>(c)];
        if (value < 0 || padding > 0) return false;
        group = (group << 6) | static_cast<std::uint32_t>(value);
        if (++symbols == 4) {
            bytes.push_back(static_cast<char>(group >> 16));
            bytes.push_back(static_cast<char>(group >> 8));
            bytes.push_back(static_cast<char>(group));
            group = 0;
            symbols = 0;
        }
    }
    if (padding == 0) return symbols == 0;
    if (symbols + padding != 4) return false;
    // The symbols of a padded group hold 12 or 18 bits, of which 8 or 16 are data.
    if (symbols == 2) {
        bytes.push_back(static_cast<char>(group >> 4));
    } else {
        bytes.push_back(static_cast<char>(group >> 10));
        bytes.push_back(static_cast<char>(group >> 2));
    }
    return true;
}

// The position of line in text where it starts a line of its own, from
// position from on; npos when there is none.
std::size_t FindLine(std::string_view text, std::string_view line, std::size_t from) {
    for (std::size_t at = text.find(line, from); at != std::string_view::npos; at = text.find(line, at + 1)) {
        if (at == 0 || text[at - 1] == '\n') return at;
    }
    return std::string_view::npos;
}

}  // namespace

bool ReadPem(std::string_view text, std::string_view label, std::string& der) {
    const std::string begin = "-----BEGIN " + std::string(label) + "-----";
    const std::string end = "-----END " + std::string(label) + "-----";
    const std::size_t start = FindLine(text, begin, 0);
    if (start == std::string_view::npos) return false;
    const std::size_t bodyStart = start + begin.size();
    const std::size_t stop = FindLine(text, end, bodyStart);
    if (stop == std::string_view::npos) return false;
    std::string bytes;
    if (!DecodeBase64(text.substr(bodyStart, stop - bodyStart), bytes) || bytes.empty()) return false;
    der = std::move(bytes);
    return true;
}

std::string WritePem(std::string_view label, std::string_view der) {
    std::string text = "-----BEGIN " + std::string(label) + "-----\n";
    std::size_t lineLength = 0;
    const auto put = [&](char c) {
        text.push_back(c);
        if (++lineLength == 64) {
            text.push_back('\n');
            lineLength = 0;
        }
    };
    for (std::size_t i = 0; i < der.size(); i += 3) {
        const std::size_t left = der.size() - i;
        std::uint32_t group = static_cast<std::uint32_t>(static_cast<unsigned char>(der[i])) << 16;
        if (left > 1) group |= static_cast<std::uint32_t>(static_cast<unsigned char>(der[i + 1])) << 8;
        if (left > 2) group |= static_cast<unsigned char>(der[i + 2]);
        put(kAlphabet[(group >> 18) & 63]);
        put(kAlphabet[(group >> 12) & 63]);
        put(left > 1 ? kAlphabet[(group >> 6) & 63] : '=');
        put(left > 2 ? kAlphabet[group & 63] : '=');
    }
    if (lineLength > 0) text.push_back('\n');
    return text + "-----END " + std::string(label) + "-----\n";
}

}  // namespace qh
