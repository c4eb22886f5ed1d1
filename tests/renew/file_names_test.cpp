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
