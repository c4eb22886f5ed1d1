#include "runtime/hex.h"

#include <gtest/gtest.h>

#include "runtime/command_line.h"

namespace qh {
namespace {

TEST(HexEncode, TwoUpperCaseDigitsPerByte) {
    EXPECT_EQ(HexEncode("1.0.0.503"), "312E302E302E353033");
    EXPECT_EQ(HexEncode(""), "");
    // A Chinese character is its two GBK bytes, in order.
    EXPECT_EQ(HexEncode("青"), "C7E0");
    EXPECT_EQ(HexEncode(std::string_view("\x00\xff", 2)), "00FF");
}

TEST(HexDecode, ReadsPairsInEitherCase) {
    EXPECT_EQ(HexDecode("612E657865"), "a.exe");
    EXPECT_EQ(HexDecode("612e657865"), "a.exe");
}

TEST(HexDecode, IgnoresATrailingOddDigit) { EXPECT_EQ(HexDecode("612E65786"), "a.ex"); }

TEST(HexDecode, AnInvalidPairEndsTheText) {
    EXPECT_EQ(HexDecode("61ZZ62"), "a");
    EXPECT_EQ(HexDecode("0061"), "");
    EXPECT_EQ(HexDecode("6G"), "");
}

TEST(HexDecode, FullWidthDigitsReadAsPlainOnes) {
    // Each pair of bytes is one full-width digit here, so each pair gives one
    // digit's value: "６" is 6 and "Ｆ" is 15.
    EXPECT_EQ(HexDecode("６Ｆ"), "\x06\x0F");
}

TEST(HexDecode, UndoesHexEncodeForEveryNonZeroByte) {
    Text all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    EXPECT_EQ(HexDecode(HexEncode(all)), all);
}

// The calculator starts the updater with three hex fields; the updater splits
// its command line with the runtime's splitting and decodes them.
TEST(HexFields, SurviveTheCommandLineBetweenThePrograms) {
    const Text line = QuotedPath("C:\\Program Files\\青禾\\renew.exe") + " -m " +
                      HexEncode("青禾计算器.exe") + " " + HexEncode("1.0.0.503") + " " +
                      HexEncode("4242");
    const CommandLineParts parts = SplitCommandLine(line);
    EXPECT_EQ(parts.program, "C:\\Program Files\\青禾\\renew.exe");
    ASSERT_EQ(parts.arguments.size(), 4u);
    EXPECT_EQ(parts.arguments[0], "-m");
    EXPECT_EQ(HexDecode(parts.arguments[1]), "青禾计算器.exe");
    EXPECT_EQ(HexDecode(parts.arguments[2]), "1.0.0.503");
    EXPECT_EQ(HexDecode(parts.arguments[3]), "4242");
}

TEST(HexFields, AQuotedModeOrFieldLosesItsQuotes) {
    const CommandLineParts parts = SplitCommandLine("renew.exe \"-h\" \"61\" 62 \"63\"");
    ASSERT_EQ(parts.arguments.size(), 4u);
    EXPECT_EQ(parts.arguments[0], "-h");
    EXPECT_EQ(HexDecode(parts.arguments[1]), "a");
    EXPECT_EQ(HexDecode(parts.arguments[3]), "c");
}

}  // namespace
}  // namespace qh
