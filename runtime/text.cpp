#include "runtime/text.h"

#include <cctype>
#include <cstdio>

namespace qh {

int TextLength(const Text& t) { return static_cast<int>(t.size()); }

Text SpaceText(int n) { return n > 0 ? Text(static_cast<size_t>(n), ' ') : Text(); }

Text CharText(int code) {
    const auto byte = static_cast<unsigned char>(code);
    return byte == 0 ? Text() : Text(1, static_cast<char>(byte));
}

Text RightText(const Text& t, int n) {
    if (t.empty() || n < 1) return {};
    const auto count = static_cast<size_t>(n);
    return count >= t.size() ? t : t.substr(t.size() - count);
}

Text MidText(const Text& t, int start, int n) {
    if (t.empty() || n < 1 || start < 1 || static_cast<size_t>(start) > t.size()) return {};
    return t.substr(static_cast<size_t>(start) - 1, static_cast<size_t>(n));
}

namespace {

bool MatchesAt(const Text& t, size_t at, const Text& what, bool ignoreCase) {
    if (at + what.size() > t.size()) return false;
    for (size_t k = 0; k < what.size(); ++k) {
        auto a = static_cast<unsigned char>(t[at + k]);
        auto b = static_cast<unsigned char>(what[k]);
        if (ignoreCase && a < 0x80 && b < 0x80) {
            a = static_cast<unsigned char>(std::tolower(a));
            b = static_cast<unsigned char>(std::tolower(b));
        }
        if (a != b) return false;
    }
    return true;
}

}  // namespace

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (lower(text[i]) != lower(prefix[i])) return false;
    }
    return true;
}

int FindText(const Text& t, const Text& what, int start, bool ignoreCase) {
    if (t.empty() || what.empty()) return -1;
    const size_t from = start < 1 ? 0 : static_cast<size_t>(start) - 1;
    // Walk from the beginning so that character boundaries are known even
    // when start points into the middle of a two-byte character.
    size_t i = 0;
    while (i < t.size()) {
        if (i >= from && MatchesAt(t, i, what, ignoreCase)) return static_cast<int>(i) + 1;
        i += IsLeadByte(static_cast<unsigned char>(t[i])) ? 2 : 1;
    }
    return -1;
}

Text HexText(std::int32_t n) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%X", static_cast<unsigned>(n));
    return buffer;
}

Text ReplaceAsciiByte(const Text& t, char from, char to) {
    Text out = t;
    for (size_t i = 0; i < out.size();) {
        if (IsLeadByte(static_cast<unsigned char>(out[i]))) {
            i += 2;
            continue;
        }
        if (out[i] == from) out[i] = to;
        ++i;
    }
    return out;
}

int FindLastAsciiByte(const Text& t, char c) {
    int found = 0;
    for (size_t i = 0; i < t.size();) {
        if (IsLeadByte(static_cast<unsigned char>(t[i]))) {
            i += 2;
            continue;
        }
        if (t[i] == c) found = static_cast<int>(i) + 1;
        ++i;
    }
    return found;
}

std::vector<Text> SplitText(const Text& t, const Text& separator) {
    std::vector<Text> parts;
    std::size_t at = 0;
    for (std::size_t found; (found = t.find(separator, at)) != Text::npos; at = found + separator.size()) {
        parts.push_back(t.substr(at, found - at));
    }
    parts.push_back(t.substr(at));
    return parts;
}

}  // namespace qh
