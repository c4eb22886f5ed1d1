#include "runtime/convert.h"

#include <cctype>
#include <charconv>
#include <cfloat>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

#include "runtime/system.h"

namespace qh {
namespace {

// printf into a text of whatever length the value needs.
template <typename... Args>
Text Print(const char* format, Args... args) {
    const int size = std::snprintf(nullptr, 0, format, args...);
    if (size <= 0) return {};
    std::vector<char> buffer(static_cast<size_t>(size) + 1);
    std::snprintf(buffer.data(), buffer.size(), format, args...);
    return Text(buffer.data(), static_cast<size_t>(size));
}

// Removes trailing zeros after a decimal point, and the point when nothing
// is left after it.
Text TrimZeros(Text t) {
    if (t.find('.') == Text::npos) return t;
    while (!t.empty() && t.back() == '0') t.pop_back();
    if (!t.empty() && t.back() == '.') t.pop_back();
    return t;
}

}  // namespace

Text ToText(bool value) { return value ? "真" : "假"; }
Text ToText(std::uint8_t value) { return Print("%d", static_cast<int>(value)); }
Text ToText(std::int16_t value) { return Print("%d", static_cast<int>(value)); }
Text ToText(std::int32_t value) { return Print("%d", static_cast<int>(value)); }
Text ToText(std::int64_t value) { return Print("%" PRId64, value); }
Text ToText(float value) { return TrimZeros(Print("%f", static_cast<double>(value))); }
Text ToText(double value) { return TrimZeros(Print("%lf", value)); }
Text ToText(const Text& value) { return value; }
Text ToText(const char* value) { return value ? Text(value) : Text(); }

Text ToText(const Bytes& value) {
    Text out;
    for (auto b : value) {
        if (b == 0) break;
        out.push_back(static_cast<char>(b));
    }
    return out;
}

Text ToHalfWidth(const Text& t) {
    // The full-width solidus and reverse solidus first, then the platform's
    // own half-width mapping.
    Text out;
    out.reserve(t.size());
    for (size_t i = 0; i < t.size();) {
        const auto c = static_cast<unsigned char>(t[i]);
        if (IsLeadByte(c) && i + 1 < t.size()) {
            const auto trail = static_cast<unsigned char>(t[i + 1]);
            if (c == 0xA3 && trail == 0xAF) {
                out.push_back('/');
            } else if (c == 0xA3 && trail == 0xDC) {
                out.push_back('\\');
            } else {
                out.append(t, i, 2);
            }
            i += 2;
            continue;
        }
        out.push_back(static_cast<char>(c));
        ++i;
    }
    return System().MapToHalfWidth(out);
}

double ToNumber(const Text& t) {
    if (t.empty()) return 0;
    const Text half = ToHalfWidth(t);
    const double value = std::strtod(half.c_str(), nullptr);
    if (std::isnan(value)) return 0;
    if (std::isinf(value)) return value > 0 ? DBL_MAX : -DBL_MAX;
    return value;
}

std::int32_t ToInteger(const Text& t) {
    if (t.empty()) return 0;
    const Text half = ToHalfWidth(t);
    // atoi's grammar: white space, an optional sign, then decimal digits.
    size_t i = 0;
    while (i < half.size() && std::isspace(static_cast<unsigned char>(half[i]))) ++i;
    bool negative = false;
    if (i < half.size() && (half[i] == '+' || half[i] == '-')) negative = half[i++] == '-';
    std::int64_t value = 0;
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; i < half.size() && half[i] >= '0' && half[i] <= '9'; ++i) {
        value = value * 10 + (half[i] - '0');
        if (value > limit) value = limit;  // saturate instead of wrapping
    }
    if (negative) return static_cast<std::int32_t>(-value);
    return value >= limit ? std::numeric_limits<std::int32_t>::max()
                          : static_cast<std::int32_t>(value);
}

std::int32_t ToInteger(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    if (value <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

std::optional<double> ParsePlainDecimal(const Text& t) {
    const std::size_t start = !t.empty() && t[0] == '-' ? 1 : 0;
    bool digits = false, point = false;
    for (std::size_t i = start; i < t.size(); ++i) {
        if (t[i] >= '0' && t[i] <= '9') {
            digits = true;
        } else if (t[i] == '.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digits) return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (error != std::errc() || end != t.data() + t.size()) return std::nullopt;
    return value;
}

double RoundHalfUp(double x, std::optional<int> places) {
    const int n = places.value_or(0);
    if (n == 0) return std::floor(x + 0.5);
    const double p = std::pow(10.0, std::abs(n));
    if (n > 0) return std::floor(x * p + 0.5) / p;
    return std::floor(x / p + 0.5) * p;
}

Text FormatNumber(double x, std::optional<int> places, bool grouping) {
    Text printed;
    if (places) {
        const int clamped = *places < 0 ? 0 : (*places > 8 ? 8 : *places);
        printed = Print("%.*lf", clamped, x);
    } else {
        printed = TrimZeros(Print("%lf", x));
    }
    // A negative figure that rounds to zero prints as "-0.00"; zero has no
    // sign in a result.
    if (!printed.empty() && printed[0] == '-' && printed.find_first_not_of("0.", 1) == Text::npos) printed.erase(0, 1);
    if (!grouping) return printed;

    const size_t digitsBegin = (!printed.empty() && printed[0] == '-') ? 1 : 0;
    size_t digitsEnd = printed.find('.');
    if (digitsEnd == Text::npos) digitsEnd = printed.size();
    Text out = printed.substr(0, digitsBegin);
    for (size_t i = digitsBegin; i < digitsEnd; ++i) {
        const size_t left = digitsEnd - i;  // digits from here to the point
        if (i > digitsBegin && left % 3 == 0) out.push_back(',');
        out.push_back(printed[i]);
    }
    out.append(printed, digitsEnd, Text::npos);
    return out;
}

Bytes ToBytes(const Text& value) { return Bytes(value.begin(), value.end()); }

}  // namespace qh
