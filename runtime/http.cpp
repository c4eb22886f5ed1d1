// The platform-neutral parts of HttpRequest: the verb, the header, success.
#include "runtime/http.h"

#include <array>
#include <string_view>

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

}  // namespace qh
