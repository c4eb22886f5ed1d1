#include "runtime/lifecycle.h"

#include <cstdio>
#include <new>

#include <gtest/gtest.h>

#include "runtime/bits.h"
#include "runtime/system.h"

namespace qh {
namespace {

void Say(const char* word) {
    std::fputs(word, stderr);
    std::fflush(stderr);
}

// The program's own exit callback runs first, then the others from the last
// registered back, each once, and the process ends with the code given.
TEST(LifecycleDeathTest, ExitPathRunsCallbacksInOrder) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            AddModuleInitializer([] { Say("init;"); });
            AddExitCallback([] { Say("first;"); });
            AddExitCallback([] { Say("second;"); });
            SetProgramExitCallback([] { Say("program;"); });
            RuntimeStart();
            RuntimeExit(7);
        },
        ::testing::ExitedWithCode(7), "init;program;second;first;");
}

TEST(BitsTest, OperationsOnThirtyTwoBits) {
    static_assert(BitOr(1, 2, 4) == 7);
    static_assert(BitAnd(0xFF, 0x0F, 0x3) == 3);
    static_assert(BitNot(0) == -1);
    static_assert(ShiftLeft(1, 31) == INT32_MIN);
    static_assert(ShiftLeft(1, 33) == 2);  // only the low five bits count
    static_assert(ShiftRight(-8, 1) == -4);
    static_assert(ShiftRight(-1, 40) == -1);
    EXPECT_EQ(BitOr(0x10000000, 0x20000000, 0x80000004), static_cast<std::int32_t>(0xB0000004));
}

}  // namespace
}  // namespace qh

namespace qh {
namespace {

// Out of memory ends the program through the exit path with the message
// "内存不足". Windows shows it in a message box, which a test cannot answer,
// so the check runs where the message goes to standard error.
TEST(LifecycleDeathTest, OutOfMemoryShowsTheMessageAndExits) {
    if (System().PathSeparator() == '\\') GTEST_SKIP() << "the message is a modal box here";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string expected = System().GbkToUtf8("内存不足");
    EXPECT_EXIT(
        {
            // A failed allocation calls the new-handler that start-up set.
            RuntimeStart();
            std::new_handler handler = std::get_new_handler();
            if (handler) handler();
        },
        ::testing::ExitedWithCode(1), expected);
}

}  // namespace
}  // namespace qh
