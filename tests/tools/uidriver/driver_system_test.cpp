// The services the UI driver puts in front of the real ones while it drives
// a program: the program finds its own file in the folder the driver was
// given, and the programs it starts are recorded, in UTF-8, instead of
// started. Removed again, the real services answer.
#include "tools/uidriver/driver_system.h"

#include <gtest/gtest.h>

#include <sstream>
#include <thread>

#include "runtime/files.h"
#include "tests/support/temp_folder.h"
#include "toolkit/headless/headless_host.h"
#include "tools/uidriver/command_runner.h"

namespace qh {
namespace {

class DriverSystemTest : public ::testing::Test {
protected:
    void TearDown() override { OverrideSystemServices(nullptr); }

    test::TempFolder program;  // the folder given with --program-dir
    headless::HeadlessHost host;
    std::ostringstream out, err;
    CommandRunner runner{host, out, err};
    DriverSystem system{PlatformSystem(), program.Folder(), "QingheCalc",
                        [this](const std::string& commandLine) { runner.RecordStarted(commandLine); }};
};

TEST_F(DriverSystemTest, WhileInstalledTheProgramFindsItselfInTheGivenFolder) {
    const Text real = ModuleDirectory();
    ASSERT_NE(real, program.Folder());
    EXPECT_EQ(OverrideSystemServices(&system), nullptr);
    EXPECT_EQ(ModulePath(), program.Folder() + "/QingheCalc");
    EXPECT_EQ(ModuleDirectory(), program.Folder());
    EXPECT_EQ(ModuleFileName(), "QingheCalc");
    // The program's files are the ones in that folder, read through the
    // real file system.
    program.Write("update/config.xml", "<config/>");
    EXPECT_TRUE(FileExists(ProgramFile("update\\config.xml")));
    Bytes bytes;
    EXPECT_TRUE(ReadWholeFile(ProgramFile("update\\config.xml"), bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "<config/>");

    EXPECT_EQ(OverrideSystemServices(nullptr), &system);
    EXPECT_EQ(ModuleDirectory(), real);
}

TEST_F(DriverSystemTest, AStartedProgramIsRecordedInUtf8AndNotStarted) {
    // A command line that leaves a file behind when it runs.
    const Text marker = program.Folder() + "/青禾.txt";
    const Text commandLine = "touch \"" + marker + "\"";
    OverrideSystemServices(&system);
    EXPECT_TRUE(RunProgram(commandLine, true));
    // A worker thread of the program may start one too.
    std::thread worker([] { RunProgram("renew -auto", false); });
    worker.join();
    OverrideSystemServices(nullptr);
    EXPECT_FALSE(FileExists(marker));

    EXPECT_EQ(runner.Run("started", 1), CommandRunner::Outcome::kContinue);
    EXPECT_EQ(out.str(), "touch \"" + program.Folder() + "/\xE9\x9D\x92\xE7\xA6\xBE.txt\"\nrenew -auto\n");

    // The real services start it.
    EXPECT_TRUE(RunProgram(commandLine, true));
    EXPECT_TRUE(FileExists(marker));
}

}  // namespace
}  // namespace qh
