// The updater's command line: the three modes, the hexadecimal fields and
// what starts nothing.
#include <gtest/gtest.h>

#include "renew/updater_command.h"

namespace qh {
namespace {

TEST(UpdaterCommand, TheModesAndTheFieldsAsTheCalculatorWritesThem) {
    // QingheCalc.exe, 1.0.0.503, process 1234.
    const UpdaterCommand c =
        ParseUpdaterCommand("\"C:\\Program Files\\青禾计算器\\renew.exe\" -h 51696E67686543616C632E657865 "
                            "312E302E302E353033 31323334");
    EXPECT_EQ(c.mode, UpdaterMode::kAutomatic);
    EXPECT_EQ(c.calculatorFile, "QingheCalc.exe");
    EXPECT_EQ(c.localVersion, "1.0.0.503");
    EXPECT_EQ(c.calculatorProcessId, 1234);
    EXPECT_EQ(ParseUpdaterCommand("renew -s 61 62 63").mode, UpdaterMode::kInteractive);
    EXPECT_EQ(ParseUpdaterCommand("renew -m 61 62 63").mode, UpdaterMode::kInstall);
    // A quoted mode is taken without its quotes.
    EXPECT_EQ(ParseUpdaterCommand("renew \"-h\" 61 62 63").mode, UpdaterMode::kAutomatic);
}

TEST(UpdaterCommand, AnythingButFourArgumentsAndAKnownModeStartsNothing) {
    EXPECT_EQ(ParseUpdaterCommand("renew -s 61 62").mode, UpdaterMode::kNone);
    EXPECT_EQ(ParseUpdaterCommand("renew -s 61 62 63 64").mode, UpdaterMode::kNone);
    EXPECT_EQ(ParseUpdaterCommand("renew -S 61 62 63").mode, UpdaterMode::kNone);
    EXPECT_EQ(ParseUpdaterCommand("renew").mode, UpdaterMode::kNone);
}

TEST(UpdaterCommand, BadHexDigitsEndTheField) {
    const UpdaterCommand c = ParseUpdaterCommand("renew -s 61ZZ62 612e65786 xx");
    EXPECT_EQ(c.calculatorFile, "a");
    EXPECT_EQ(c.localVersion, "a.ex");
    EXPECT_EQ(c.calculatorProcessId, 0);
}

}  // namespace
}  // namespace qh
