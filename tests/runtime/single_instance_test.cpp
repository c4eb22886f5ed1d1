#include "runtime/single_instance.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "runtime/command_line.h"
#include "runtime/process.h"
#include "runtime/system.h"
#include "tests/support/temp_folder.h"

namespace qh {
namespace {

namespace fs = std::filesystem;

// A name of this test program's own, so that a running updater and other
// test programs never meet it.
Text TestName(const char* which) {
    return Text("QingheCalcUpdateTest-") + which + "-" + std::to_string(CurrentProcessId());
}

// Starts the helper program, which tries the mark under name and writes
// "held" or "busy" into a file; returns what it wrote.
std::string ProbeFromAnotherProcess(const Text& name) {
    const fs::path child =
        fs::path(ModuleDirectory()) / ("runtime_test_child" + fs::path(ModulePath()).extension().string());
    test::TempFolder temp;
    const Text answer = (temp.Path() / "answer.txt").string();
    if (!RunProgram(QuotedPath(child.string()) + " --probe-instance " + name + " " + QuotedPath(answer), true)) {
        return "not started";
    }
    return temp.Read("answer.txt");
}

TEST(SingleInstance, OneHolderAtATimeInOneProcess) {
    const Text name = TestName("local");
    auto first = SingleInstance::Acquire(name);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(SingleInstance::Acquire(name), nullptr);
    // Another name is another mark.
    EXPECT_NE(SingleInstance::Acquire(TestName("other")), nullptr);

    first.reset();
    EXPECT_NE(SingleInstance::Acquire(name), nullptr);
}

TEST(SingleInstance, AnotherProcessSeesTheMarkUntilItIsGivenUp) {
    const Text name = TestName("shared");
    auto held = SingleInstance::Acquire(name);
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(ProbeFromAnotherProcess(name), "busy");
    held.reset();
    EXPECT_EQ(ProbeFromAnotherProcess(name), "held");
    // The helper gave the mark up when it ended.
    EXPECT_NE(SingleInstance::Acquire(name), nullptr);
}

}  // namespace
}  // namespace qh
