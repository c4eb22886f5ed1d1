// Conversions between numbers and text, and the rounding and number format
// that every figure the programs show goes through.
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/text.h"

namespace qh {

// A date-time: whole days since 1899-12-30, the fraction is the time of day.
struct DateTime {
    double days = 0;
};

// ToText of each value type. Integers print as "%d"; a byte is 0..255, a
// 16-bit integer is sign-extended. float and double print with six decimals
// and then lose their trailing zeros and a bare point (12.5, 12).
Text ToText(bool value);           // "真" or "假"
Text ToText(std::uint8_t value);
Text ToText(std::int16_t value);
Text ToText(std::int32_t value);
Text ToText(std::int64_t value);
Text ToText(float value);
Text ToText(double value);
Text ToText(const Text& value);
Text ToText(const char* value);
Text ToText(const Bytes& value);   // the bytes up to the first NUL
// The date as "%d年%d月%d日", then unless dateOnly the shortest time text that
// still shows the last non-zero unit ("%d时%d分%d秒", "%d时%d分", "%d时").
Text ToText(DateTime value, bool dateOnly = false);

// Full-width digits, signs, points and spaces typed through a Chinese input
// method become their ordinary forms; "／" and "＼" become "/" and "\".
Text ToHalfWidth(const Text& t);

// Text to double: the half-width text read as far as it forms a number, like
// strtod. Unreadable text reads as 0. A number beyond the range of a double
// saturates at the largest double, and "nan" reads as 0, so that no infinity
// or NaN enters a computation from a box.
double ToNumber(const Text& t);
// A plain decimal ("12", "-45", "3.05"): an optional leading minus, digits
// with at most one point, nothing else, read whatever the C locale; nothing
// for any other text. (ToNumber, by contrast, reads what it can.)
std::optional<double> ParsePlainDecimal(const Text& t);
// Text to a 32-bit integer: the half-width text read like atoi (it stops at a
// decimal point), saturating at the limits of the type.
std::int32_t ToInteger(const Text& t);
// Doubles truncate toward zero and saturate; NaN gives 0.
std::int32_t ToInteger(double value);

// Halves round toward positive infinity: floor(x * 10^places + 0.5) / 10^places,
// in doubles with no decimal correction (2.345 to 2 places gives 2.34).
// Negative places round to tens, hundreds and so on.
double RoundHalfUp(double x, std::optional<int> places = std::nullopt);

// x with the given places (clamped to 0..8), or with "%lf" less its trailing
// zeros when places is absent; grouping puts a comma between every three
// digits of the integer part. A figure that rounds to zero has no sign.
Text FormatNumber(double x, std::optional<int> places, bool grouping);

// The value's bytes: a text without its NUL, a number in its machine width.
Bytes ToBytes(const Text& value);
template <typename Number>
Bytes ToBytes(Number value) {
    const auto* raw = reinterpret_cast<const std::uint8_t*>(&value);
    return Bytes(raw, raw + sizeof value);
}

}  // namespace qh
