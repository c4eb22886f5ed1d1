#include "runtime/content_range.h"

#include <limits>

namespace qh {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether text starts with word (lower case), compared without regard to case.
bool StartsWithWord(std::string_view text, std::string_view word) {
    if (text.size() < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (Lower(text[i]) != word[i]) return false;
    }
    return true;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void SkipSpaces(std::string_view& text) {
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
}

// Takes the unsigned decimal number at the start of text. Nothing when text
// starts with no digit or the number does not fit 64 bits.
std::optional<std::uint64_t> TakeNumber(std::string_view& text) {
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    if (text.empty() || !IsDigit(text.front())) return std::nullopt;
    std::uint64_t value = 0;
    while (!text.empty() && IsDigit(text.front())) {
        const auto digit = static_cast<std::uint64_t>(text.front() - '0');
        if (value > (kMax - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
        text.remove_prefix(1);
    }
    return value;
}

bool TakeChar(std::string_view& text, char c) {
    if (text.empty() || text.front() != c) return false;
    text.remove_prefix(1);
    return true;
}

// Takes the unit "bytes", compared without regard to case.
bool TakeBytesUnit(std::string_view& text) {
    constexpr std::string_view kUnit = "bytes";
    if (!StartsWithWord(text, kUnit)) return false;
    text.remove_prefix(kUnit.size());
    return true;
}

}  // namespace

std::optional<ContentRange> ParseContentRange(std::string_view text) {
    SkipSpaces(text);
    if (!TakeBytesUnit(text) || text.empty() || !IsSpace(text.front())) return std::nullopt;
    SkipSpaces(text);
    ContentRange range;
    const auto first = TakeNumber(text);
    if (!first || !TakeChar(text, '-')) return std::nullopt;
    const auto last = TakeNumber(text);
    if (!last || !TakeChar(text, '/')) return std::nullopt;
    if (!TakeChar(text, '*')) {
        range.total = TakeNumber(text);
        if (!range.total) return std::nullopt;
    }
    SkipSpaces(text);
    if (!text.empty()) return std::nullopt;
    range.first = *first;
    range.last = *last;
    if (range.last < range.first || (range.total && range.last >= *range.total)) return std::nullopt;
    return range;
}

std::optional<std::string_view> ContentRangeHeaderValue(std::string_view line) {
    constexpr std::string_view kName = "content-range:";
    if (!StartsWithWord(line, kName)) return std::nullopt;
    line.remove_prefix(kName.size());
    while (!line.empty() && (IsSpace(line.back()) || line.back() == '\r' || line.back() == '\n')) {
        line.remove_suffix(1);
    }
    SkipSpaces(line);
    return line;
}

}  // namespace qh
