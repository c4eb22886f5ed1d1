// The platform-neutral parts of HttpRequest: the verb, the header, success,
// the answer's bound and the address of a listed file.
#include "runtime/http.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "runtime/system.h"

namespace qh {
namespace {

// Verbs that travel in upper case whatever case the caller wrote them in.
constexpr std::array<std::string_view, 6> kStandardVerbs = {"GET", "POST", "PUT", "DELETE", "HEAD", "OPTIONS"};

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

Text AsciiUpperText(const Text& t) {
    Text upper = t;
    for (char& c : upper) c = AsciiUpper(c);
    return upper;
}

}  // namespace

Text HttpVerb(const Text& method) {
    const Text upper = AsciiUpperText(method);
    for (std::string_view verb : kStandardVerbs) {
        if (upper == verb) return upper;
    }
    return method;
}

std::optional<std::pair<Text, Text>> HttpRequestHeader(const HttpOptions& options) {
    if (options.header) return options.header;
    if (AsciiUpperText(options.method) == "POST") {
        return std::pair<Text, Text>{"Content-Type", "application/x-www-form-urlencoded"};
    }
    return std::nullopt;
}

bool IsHttpSuccess(long status) { return status >= 200 && status <= 299; }

std::size_t HttpAnswerBound(const HttpOptions& options) {
    return options.maxBytes == 0 ? kMaxHttpAnswer : std::min(options.maxBytes, kMaxHttpAnswer);
}

namespace {

bool IsUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

}  // namespace

// In UTF-8 a '\' byte is always the character itself, never part of a
// Chinese character, so the levels are split after the conversion; "/"
// separates levels as well, as the name check takes it.
Text FileAddress(const Text& base, const Text& name) {
    constexpr char kHexDigits[] = "0123456789ABCDEF";
    Text address = base;
    for (const char byte : System().GbkToUtf8(name)) {
        const auto c = static_cast<unsigned char>(byte);
        if (c == '\\' || c == '/') {
            address += '/';
        } else if (IsUnreserved(c)) {
            address += byte;
        } else {
            address += '%';
            address += kHexDigits[c >> 4];
            address += kHexDigits[c & 0xF];
        }
    }
    return address;
}

}  // namespace qh
