#include "runtime/text.h"

#include <gtest/gtest.h>

namespace qh {
namespace {

// "\x81\x41" is one GBK character whose second byte is an ASCII 'A'.
const Text kCharEndingInA = "\x81\x41";

TEST(TextTest, RightAndMidCutAtTheEnds) {
    EXPECT_EQ(RightText("abcdef", 2), "ef");
    EXPECT_EQ(RightText("abc", 10), "abc");
    EXPECT_EQ(RightText("abc", 0), "");
    EXPECT_EQ(RightText("", 3), "");

    EXPECT_EQ(MidText("abcdef", 2, 3), "bcd");
    EXPECT_EQ(MidText("abcdef", 5, 10), "ef");
    EXPECT_EQ(MidText("abcdef", 6, 1), "f");
    EXPECT_EQ(MidText("abcdef", 7, 1), "");
    EXPECT_EQ(MidText("abcdef", 0, 2), "");
    EXPECT_EQ(MidText("abcdef", 1, 0), "");
}

TEST(TextTest, FindTextNeverMatchesOnTheSecondByteOfACharacter) {
    const Text t = kCharEndingInA + "A";
    EXPECT_EQ(FindText(t, "A"), 3);
    EXPECT_EQ(FindText(t, "a", 1, true), 3);
    EXPECT_EQ(FindText(t, "a", 1, false), -1);
    // A start inside a character moves on to the next character boundary.
    EXPECT_EQ(FindText(kCharEndingInA + "xA", "A", 2), 4);
}

TEST(TextTest, FindTextStartAndMisses) {
    EXPECT_EQ(FindText("abcabc", "bc"), 2);
    EXPECT_EQ(FindText("abcabc", "bc", 3), 5);
    EXPECT_EQ(FindText("abcabc", "bc", -7), 2);
    EXPECT_EQ(FindText("abcabc", "bd"), -1);
    EXPECT_EQ(FindText("", "a"), -1);
    EXPECT_EQ(FindText("abc", ""), -1);
    EXPECT_EQ(FindText("青禾计算器", "计算"), 5);
}

TEST(TextTest, HexTextIsUpperCaseWithoutLeadingZeros) {
    EXPECT_EQ(HexText(0), "0");
    EXPECT_EQ(HexText(255), "FF");
    EXPECT_EQ(HexText(-1), "FFFFFFFF");
}

TEST(TextTest, SmallTextsAndByteScans) {
    EXPECT_EQ(SpaceText(3), "   ");
    EXPECT_EQ(SpaceText(-1), "");
    EXPECT_EQ(CharText(65), "A");
    EXPECT_EQ(CharText(0), "");
    EXPECT_EQ(TextLength("青禾"), 4);

    // The trail byte 0x5C of a GBK character is not a backslash.
    const Text path = Text("dir\\") + "\x81\x5C" + "x";
    EXPECT_EQ(FindLastAsciiByte(path, '\\'), 4);
    EXPECT_EQ(ReplaceAsciiByte(path, '\\', '/'), Text("dir/") + "\x81\x5C" + "x");
}

}  // namespace
}  // namespace qh
