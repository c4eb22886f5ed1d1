#include "runtime/convert.h"

#include <cfloat>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace qh {
namespace {

TEST(ToTextTest, FloatingPointLosesTrailingZeros) {
    EXPECT_EQ(ToText(0.1 + 0.2), "0.3");
    EXPECT_EQ(ToText(100.0), "100");
    EXPECT_EQ(ToText(12.5), "12.5");
    EXPECT_EQ(ToText(6.55f), "6.55");
    EXPECT_EQ(ToText(0.0000001), "0");
    EXPECT_EQ(ToText(-2.5), "-2.5");
}

TEST(ToTextTest, IntegersBooleansAndBlocks) {
    EXPECT_EQ(ToText(true), "真");
    EXPECT_EQ(ToText(false), "假");
    EXPECT_EQ(ToText(std::uint8_t{200}), "200");
    EXPECT_EQ(ToText(std::int16_t{-5}), "-5");
    EXPECT_EQ(ToText(std::int32_t{-2147483647 - 1}), "-2147483648");
    EXPECT_EQ(ToText(std::int64_t{9000000000}), "9000000000");
    EXPECT_EQ(ToText(Bytes{'a', 'b', 0, 'c'}), "ab");
    EXPECT_EQ(ToText(static_cast<const char*>(nullptr)), "");
}

TEST(ToTextTest, DateTexts) {
    EXPECT_EQ(ToText(DateTime{0}), "1899年12月30日");
    EXPECT_EQ(ToText(DateTime{2}), "1900年1月1日");
    EXPECT_EQ(ToText(DateTime{61}), "1900年3月1日");  // 1900 is not a leap year
    EXPECT_EQ(ToText(DateTime{45351.5}), "2024年2月29日12时");
    EXPECT_EQ(ToText(DateTime{45351 + (13 * 3600 + 5 * 60) / 86400.0}), "2024年2月29日13时5分");
    EXPECT_EQ(ToText(DateTime{45351 + 7.0 / 86400}), "2024年2月29日0时0分7秒");
    EXPECT_EQ(ToText(DateTime{45351.5}, true), "2024年2月29日");
    EXPECT_EQ(ToText(DateTime{-1.25}), "1899年12月29日6时");
    EXPECT_EQ(ToText(DateTime{-365}), "1898年12月30日");
    // A time that rounds up to midnight is the start of the next day.
    EXPECT_EQ(ToText(DateTime{45351.9999999}), "2024年3月1日");
}

TEST(ToNumberTest, ReadsFullWidthInputAndStopsAtTheFirstNonDigit) {
    EXPECT_DOUBLE_EQ(ToNumber("１２３．５"), 123.5);
    EXPECT_DOUBLE_EQ(ToNumber("－３"), -3);
    EXPECT_DOUBLE_EQ(ToNumber("12万"), 12);
    EXPECT_DOUBLE_EQ(ToNumber(""), 0);
    EXPECT_DOUBLE_EQ(ToNumber("abc"), 0);
    EXPECT_DOUBLE_EQ(ToNumber("  6.550"), 6.55);
}

TEST(ToNumberTest, NeverYieldsInfinityOrNaN) {
    EXPECT_EQ(ToNumber("1e400"), DBL_MAX);
    EXPECT_EQ(ToNumber("-1e400"), -DBL_MAX);
    EXPECT_EQ(ToNumber("inf"), DBL_MAX);
    EXPECT_EQ(ToNumber("nan"), 0);
}

TEST(ToIntegerTest, ReadsLikeAtoiAndSaturates) {
    EXPECT_EQ(ToInteger("20.5"), 20);
    EXPECT_EQ(ToInteger(" 42abc"), 42);
    EXPECT_EQ(ToInteger("３０"), 30);
    EXPECT_EQ(ToInteger("-17"), -17);
    EXPECT_EQ(ToInteger(""), 0);
    EXPECT_EQ(ToInteger("x1"), 0);
    EXPECT_EQ(ToInteger("2147483647"), 2147483647);
    EXPECT_EQ(ToInteger("99999999999999999999"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(ToInteger("-2147483648"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(ToInteger("-99999999999999999999"), std::numeric_limits<std::int32_t>::min());
}

TEST(ToIntegerTest, DoublesTruncateTowardZeroAndSaturate) {
    EXPECT_EQ(ToInteger(-2.7), -2);
    EXPECT_EQ(ToInteger(2.7), 2);
    EXPECT_EQ(ToInteger(1e20), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(ToInteger(-1e20), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(ToInteger(std::nan("")), 0);
}

TEST(RoundHalfUpTest, HalvesGoTowardPositiveInfinity) {
    EXPECT_EQ(RoundHalfUp(2.5), 3);
    EXPECT_EQ(RoundHalfUp(-2.5), -2);
    EXPECT_EQ(RoundHalfUp(2.5, 0), 3);
    EXPECT_EQ(RoundHalfUp(7485.2046, 2), 7485.2);
    // No decimal correction: the result follows the double product. 1.005 is
    // held as 1.00499999999999989…, and × 100 stays below 100.5.
    EXPECT_EQ(RoundHalfUp(1.005, 2), 1.0);
    // 2.345 × 100 rounds to exactly 234.5 in double arithmetic, so it goes up
    // on every build (the Windows build computes in SSE2 doubles too).
    EXPECT_EQ(RoundHalfUp(2.345, 2), 2.35);
    EXPECT_EQ(RoundHalfUp(1250, -2), 1300);
    EXPECT_EQ(RoundHalfUp(1249, -2), 1200);
}

TEST(FormatNumberTest, AFigureThatRoundsToZeroHasNoSign) {
    EXPECT_EQ(FormatNumber(-0.00000001, 2, true), "0.00");
    EXPECT_EQ(FormatNumber(-0.0, 2, false), "0.00");
    EXPECT_EQ(FormatNumber(-0.004, std::nullopt, true), "-0.004");
    EXPECT_EQ(FormatNumber(-0.005, 2, true), "-0.01");
}

TEST(FormatNumberTest, PlacesAndGrouping) {
    EXPECT_EQ(FormatNumber(1234567.891, 2, true), "1,234,567.89");
    EXPECT_EQ(FormatNumber(1234.5, 2, false), "1234.50");
    EXPECT_EQ(FormatNumber(-1234567.5, std::nullopt, true), "-1,234,567.5");
    EXPECT_EQ(FormatNumber(123, 2, true), "123.00");
    EXPECT_EQ(FormatNumber(1000, 0, true), "1,000");
    EXPECT_EQ(FormatNumber(-100, 2, true), "-100.00");
    EXPECT_EQ(FormatNumber(1.5, 12, false), "1.50000000");
    EXPECT_EQ(FormatNumber(1.5, -3, false), "2");
}

TEST(ToBytesTest, TextsAndNumbers) {
    EXPECT_EQ(ToBytes(Text("ab")), (Bytes{'a', 'b'}));
    EXPECT_EQ(ToBytes(std::int32_t{0x01020304}).size(), 4u);
    EXPECT_EQ(ToBytes(1.0).size(), 8u);
}

}  // namespace
}  // namespace qh
