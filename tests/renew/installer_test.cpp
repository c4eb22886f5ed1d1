// The installation of a staged update, in a program folder of the test's
// own: files replaced, the version recorded, the state file gone, the
// calculator asked to quit first and started again at the end; and what an
// interrupted run, a missing staged file or a hostile state file do.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "renew/file_names.h"
#include "renew/installed_version.h"
#include "renew/installer.h"
#include "renew/state_file.h"
#include "runtime/files.h"
#include "runtime/hex.h"
#include "runtime/process.h"
#include "runtime/system.h"
#include "tests/support/temp_folder.h"
#include "tools/uidriver/driver_system.h"

namespace qh {
namespace {

class InstallerTest : public ::testing::Test {
protected:
    void SetUp() override { OverrideSystemServices(&system); }
    void TearDown() override { OverrideSystemServices(nullptr); }

    // Stages a file under its hex name, as the download stage leaves it.
    void Stage(const Text& name, std::string_view bytes) {
        program.Write("update/" + HexEncode(name), bytes);
    }
    void WriteState(const std::vector<Text>& names, const Text& version) {
        CreateFolders(ProgramFile(kStateFileName));
        ASSERT_TRUE(SaveStateFile(ProgramFile(kStateFileName), names, version));
    }
    bool StateFileExists() { return FileExists(ProgramFile(kStateFileName)); }
    InstallRequest Request(bool relaunch) {
        InstallRequest request;
        request.relaunch = relaunch;
        request.calculatorFile = "QingheCalc";
        request.quitCalculator = [this] { events.push_back("quit calculator"); };
        return request;
    }

    test::TempFolder program;
    std::vector<std::string> events;  // what happened, in order
    DriverSystem system{PlatformSystem(), program.Folder(), "renew",
                        [this](const std::string& commandLine) { events.push_back("start " + commandLine); }};
};

TEST_F(InstallerTest, StagedFilesReplaceTheInstalledOnesAndTheCalculatorStartsAgain) {
    program.Write("a.txt", "old");
    Stage("a.txt", "new bytes");
    Stage("a\\b.png", "picture");  // a level that does not exist yet
    WriteState({"a.txt", "a\\b.png"}, "1.0.0.506");

    ASSERT_TRUE(InstallUpdate(Request(true)));
    EXPECT_EQ(program.Read("a.txt"), "new bytes");
    EXPECT_EQ(program.Read("a/b.png"), "picture");
    EXPECT_FALSE(FileExists(ProgramFile(StagingName("a.txt"))));
    EXPECT_FALSE(StateFileExists());
    EXPECT_EQ(ReadInstalledVersion(), "1.0.0.506");
    // The calculator quit before anything moved, and is started with its
    // path quoted and the updater's process id.
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], "quit calculator");
    EXPECT_EQ(events[1], "start \"" + program.Folder() + "\\QingheCalc\" " + std::to_string(CurrentProcessId()));
}

TEST_F(InstallerTest, AnEmptyListStillRecordsTheVersionAndRemovesTheStateFile) {
    WriteState({}, "1.0.0.507");
    ASSERT_TRUE(InstallUpdate(Request(false)));
    EXPECT_FALSE(StateFileExists());
    EXPECT_EQ(ReadInstalledVersion(), "1.0.0.507");
    EXPECT_EQ(events, std::vector<std::string>{"quit calculator"});
}

TEST_F(InstallerTest, WithoutAStateFileNothingChangesAndNothingStarts) {
    program.Write("a.txt", "old");
    Stage("a.txt", "new");
    EXPECT_FALSE(InstallUpdate(Request(true)));
    EXPECT_EQ(program.Read("a.txt"), "old");
    EXPECT_TRUE(events.empty());
}

TEST_F(InstallerTest, AMissingStagedFileLeavesTheInstalledFileAlone) {
    // An earlier run moved a.txt and was stopped before b.txt.
    program.Write("a.txt", "new a");
    program.Write("b.txt", "old b");
    Stage("b.txt", "new b");
    WriteState({"a.txt", "b.txt"}, "1.0.0.506");
    ASSERT_TRUE(InstallUpdate(Request(false)));
    EXPECT_EQ(program.Read("a.txt"), "new a");
    EXPECT_EQ(program.Read("b.txt"), "new b");
    EXPECT_FALSE(StateFileExists());
}

TEST_F(InstallerTest, AStateFileNamingPathsOutsideTheFolderInstallsNothingForThem) {
    // The state file is written by hand here: the writer itself refuses
    // such names.
    const std::vector<Text> hostile = {"..\\evil.txt", "\\abs.txt", "CON .txt", "update\\config.xml"};
    std::string list;
    for (const Text& name : hostile) {
        list += "<File Name=\"" + HexEncode(name) + "\"/>";
        program.Write("update/" + HexEncode(name), "evil");
    }
    program.Write("update/config.xml",
                  "<?xml version=\"1.0\" encoding=\"gb2312\"?><Config><RENEW St=\"1\"/><ALL St=\"1\"/><List>" + list +
                      "</List><LstRenew Ver=\"6.6.6\"/></Config>");
    ASSERT_TRUE(InstallUpdate(Request(false)));
    EXPECT_FALSE(std::filesystem::exists(program.Path().parent_path() / "evil.txt"));
    EXPECT_FALSE(std::filesystem::exists(program.Path() / "CON .txt"));
    // The staged copies stay where they were.
    for (const Text& name : hostile) EXPECT_TRUE(FileExists(ProgramFile(StagingName(name)))) << name;
}

TEST(RelaunchCommandLine, OnlyAPlainNameInTheProgramFolderIsStarted) {
    EXPECT_NE(RelaunchCommandLine("QingheCalc.exe", 12), "");
    EXPECT_EQ(RelaunchCommandLine("..\\cmd.exe", 12), "");
    EXPECT_EQ(RelaunchCommandLine("sub\\QingheCalc.exe", 12), "");
    EXPECT_EQ(RelaunchCommandLine("", 12), "");
    EXPECT_EQ(RelaunchCommandLine("C:\\Windows\\x.exe", 12), "");
}

}  // namespace
}  // namespace qh
