#include "runtime/command_line.h"

#include <gtest/gtest.h>

namespace qh {
namespace {

TEST(SplitCommandLineTest, QuotedProgramWithSpacesAndFourArguments) {
    const auto parts = SplitCommandLine("\"C:\\Program Files\\青禾\\renew.exe\" -m 612E 31 3432");
    EXPECT_EQ(parts.program, "C:\\Program Files\\青禾\\renew.exe");
    ASSERT_EQ(parts.arguments.size(), 4u);
    EXPECT_EQ(parts.arguments[0], "-m");
    EXPECT_EQ(parts.arguments[3], "3432");
}

TEST(SplitCommandLineTest, QuotesAreRemovedAndControlCharactersSeparate) {
    const auto parts = SplitCommandLine("renew.exe  \"-h\"\t\"a b\"\r\nlast");
    EXPECT_EQ(parts.program, "renew.exe");
    ASSERT_EQ(parts.arguments.size(), 3u);
    EXPECT_EQ(parts.arguments[0], "-h");
    EXPECT_EQ(parts.arguments[1], "a b");
    EXPECT_EQ(parts.arguments[2], "last");
}

TEST(SplitCommandLineTest, NoArgumentsAndUnclosedQuotes) {
    EXPECT_TRUE(SplitCommandLine("prog").arguments.empty());
    EXPECT_TRUE(SplitCommandLine("prog   ").arguments.empty());
    const auto parts = SplitCommandLine("\"unclosed program");
    EXPECT_EQ(parts.program, "unclosed program");
    const auto open = SplitCommandLine("p \"open arg");
    ASSERT_EQ(open.arguments.size(), 1u);
    EXPECT_EQ(open.arguments[0], "open arg");
}

TEST(SplitCommandLineTest, ChineseArgumentsKeepBothBytes) {
    const auto parts = SplitCommandLine("p 青禾 \"计算 器\"");
    ASSERT_EQ(parts.arguments.size(), 2u);
    EXPECT_EQ(parts.arguments[0], "青禾");
    EXPECT_EQ(parts.arguments[1], "计算 器");
}

// The elevated start hands the shell the program and the rest of the line
// apart: a lost or re-quoted parameter would start the updater without its
// mode or calculator.
TEST(SplitCommandLineTest, ElevatedStartKeepsTheParametersAsWritten) {
    const struct {
        const char* line;
        const char* program;
        const char* parameters;
    } cases[] = {
        {"\"C:\\Program Files\\青禾\\renew.exe\" -m 612E 31 3432", "C:\\Program Files\\青禾\\renew.exe",
         "-m 612E 31 3432"},
        {"renew.exe  \"a b\"\t-h", "renew.exe", "\"a b\"\t-h"},
        {"\"renew.exe\"", "renew.exe", ""},
        {"renew.exe   ", "renew.exe", ""},
    };
    for (const auto& c : cases) {
        const auto parts = SplitCommandLine(c.line);
        EXPECT_EQ(parts.program, c.program) << c.line;
        EXPECT_EQ(parts.parameters, c.parameters) << c.line;
        // Joined again, the line means the same.
        const auto again = SplitCommandLine(ProgramCommandLine(parts.program, parts.parameters));
        EXPECT_EQ(again.arguments, parts.arguments) << c.line;
    }
}

// A browser address or a path with quotes and backslashes once broke out of
// its quotes and became several arguments.
TEST(SplitCommandLineTest, QuotedArgumentsRoundTripAndNeverBreakOut) {
    for (const Text& text : {Text("http://a.example/x?q=1"), Text("http://e.example/\" -x \"evil"),
                             Text("C:\\Program Files\\青禾\\"), Text("a\\\"b"), Text("\\\\\""), Text("\""),
                             Text(""), Text("tab\there"), Text("\xB1\x5C" "x")}) {
        SCOPED_TRACE(text);
        const auto parts = SplitCommandLine("prog " + QuotedPath(text) + " next");
        ASSERT_EQ(parts.arguments.size(), 2u);
        EXPECT_EQ(parts.arguments[0], text);
        EXPECT_EQ(parts.arguments[1], "next");
    }
    // Windows paths keep their backslashes as they are.
    EXPECT_EQ(QuotedPath("C:\\a b\\c.exe"), "\"C:\\a b\\c.exe\"");
}

}  // namespace
}  // namespace qh
