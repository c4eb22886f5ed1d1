// Which program a shell "open" command names as the browser.
#include <gtest/gtest.h>

#include "runtime/browser.h"

namespace qh {
namespace {

const Text kFallback = "C:\\Program Files\\Internet Explorer\\iexplore.exe";

TEST(BrowserPathTest, AQuotedPathIsTakenWithoutItsArgumentsAndPlaceholder) {
    EXPECT_EQ(BrowserPathOf("\"C:\\Program Files\\Mozilla Firefox\\firefox.exe\" -osint -url \"%1\"", kFallback),
              "C:\\Program Files\\Mozilla Firefox\\firefox.exe");
}

TEST(BrowserPathTest, AnUnquotedCommandIsThePathAsItStands) {
    EXPECT_EQ(BrowserPathOf("C:\\Browsers\\browser.exe", kFallback), "C:\\Browsers\\browser.exe");
}

TEST(BrowserPathTest, AnEmptyCommandGivesTheFallbackAndAnUnclosedQuoteNothing) {
    EXPECT_EQ(BrowserPathOf("", kFallback), kFallback);
    EXPECT_EQ(BrowserPathOf("\"C:\\Browsers\\browser.exe", kFallback), "");
}

}  // namespace
}  // namespace qh
