#include "renew/file_names.h"

#include <gtest/gtest.h>

namespace qh {
namespace {

TEST(IsAllowedFileName, TakesNamesInsideTheProgramDirectory) {
    for (const char* name : {"a.txt", "QingheCalc.exe", "renew.exe", "renew.ex_", "a\\b.png", "skin/bg.png",
                             "皮肤\\背景.png", "a b\\c d.txt", ".hidden", "console.txt", "com10.txt"}) {
        EXPECT_TRUE(IsAllowedFileName(name)) << name;
    }
}

TEST(IsAllowedFileName, RefusesNamesThatReachOutside) {
    for (const char* name : {
             "", "\\Windows\\x.dll", "/etc/passwd", "\\\\server\\share\\x", "C:\\x.dll", "C:x.dll",
             "a.txt:stream", "..\\x", "a\\..\\..\\x", "a/../x", "..", "a..b", "...\\x",
             ".\\x", ". \\x", "a.\\x", "a \\x", "a\\\\b", "a\\", "a/",
         }) {
        EXPECT_FALSE(IsAllowedFileName(name)) << name;
    }
}

TEST(IsAllowedFileName, RefusesDevicesControlAndWildcardCharacters) {
    for (const char* name : {"CON", "nul.txt", "a\\Com1.log", "LPT9", "conin$", "a\tb", "a\nb", "a*b", "a?b",
                             "a\"b", "a<b", "a>b", "a|b"}) {
        EXPECT_FALSE(IsAllowedFileName(name)) << name;
    }
}

TEST(IsAllowedFileName, RefusesDevicesWithSpacesBeforeTheExtension) {
    // Windows drops the spaces and dots at the end of a level's first part
    // before it looks for a device, so each of these opens one.
    for (const char* name : {"CON .txt", "nul .dll", "COM1  .x", "CONIN$ .txt", "x\\PRN .y.z", "aux. .txt",
                             "Lpt3 . .log"}) {
        EXPECT_FALSE(IsAllowedFileName(name)) << name;
    }
    EXPECT_TRUE(IsAllowedFileName("CONX .txt"));
    EXPECT_TRUE(IsAllowedFileName("a\\CONSOLE .txt"));
}

TEST(IsAllowedFileName, RefusesNamesTooLongToStage) {
    // The staging name is the hex form: 127 bytes give 254, the most that
    // fits in a 255-byte level; a Chinese character counts two bytes.
    const Text longest = Text(125, 'a') + ".x";
    ASSERT_EQ(longest.size(), kLongestFileName);
    EXPECT_TRUE(IsAllowedFileName(longest));
    EXPECT_FALSE(IsAllowedFileName(longest + "y"));
    EXPECT_FALSE(IsAllowedFileName(Text(64, 'a') + "\\" + Text(63, 'b')));
    EXPECT_EQ(StagingName(longest).size(), Text("update\\").size() + 254);
}

TEST(FileNameKey, IsTheSameForNamesThatAreOneFileOnWindows) {
    EXPECT_EQ(FileNameKey("a.txt"), FileNameKey("A.TXT"));
    EXPECT_EQ(FileNameKey("d\\a.txt"), FileNameKey("d/a.txt"));
    EXPECT_EQ(FileNameKey("Skin/Bg.PNG"), "SKIN\\BG.PNG");
    // The second byte of a Chinese character is never folded: "癆" is B0 41
    // and "癮" is B0 61, two different files.
    EXPECT_NE(FileNameKey("癆.txt"), FileNameKey("癮.txt"));
    EXPECT_EQ(FileNameKey("癮.txt"), "癮.TXT");
    // 0x80 and 0xFF are characters of their own in code page 936, so the
    // letter after them is folded.
    EXPECT_EQ(FileNameKey("\x80" "a.txt"), FileNameKey("\x80" "A.TXT"));
    EXPECT_EQ(FileNameKey("\xFF" "b"), "\xFF" "B");
}

TEST(IsAllowedFileName, RefusesTheStagingFolderAndItsContent) {
    EXPECT_FALSE(IsAllowedFileName("update\\config.xml"));
    EXPECT_FALSE(IsAllowedFileName("Update\\612E747874"));
    EXPECT_FALSE(IsAllowedFileName("update"));
    EXPECT_TRUE(IsAllowedFileName("updates\\a.txt"));
    EXPECT_TRUE(IsAllowedFileName("a\\update\\b.txt"));
}

TEST(IsAllowedFileName, SplitsLevelsEvenAfterTheFirstByteOfACharacter) {
    // Read as GBK, 0x80 0x5C could be one character; Windows' code page 936
    // reads 0x80 alone and the '\' as a separator. Both readings must be safe.
    EXPECT_FALSE(IsAllowedFileName("\x80\\con.txt"));
    EXPECT_FALSE(IsAllowedFileName("\x81\\"));
}

TEST(StagingName, IsOneFlatLevelInTheStagingFolder) {
    EXPECT_EQ(StagingName("a\\b.png"), "update\\615C622E706E67");
    EXPECT_EQ(StagingName("a.txt"), "update\\612E747874");
}

}  // namespace
}  // namespace qh
