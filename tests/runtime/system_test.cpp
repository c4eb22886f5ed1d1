#include "runtime/system.h"

#include <filesystem>
#include <fstream>
#include <string_view>

#include <gtest/gtest.h>

#include "runtime/command_line.h"
#include "runtime/fatal.h"
#include "tests/support/temp_folder.h"

namespace qh {
namespace {

namespace fs = std::filesystem;

// A fresh temporary folder for each test, whose files sit in a subfolder
// with a space in its name.
class SystemTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(temp.Path() / kSub); }

    Text InFolder(const std::string& name) const { return (temp.Path() / kSub / name).string(); }
    void Write(const std::string& name, std::string_view content) const { temp.Write(fs::path(kSub) / name, content); }
    std::string Read(const std::string& name) const { return temp.Read(fs::path(kSub) / name); }

    // The helper program the process tests start, beside this one.
    static fs::path ChildProgram() {
        return fs::path(ModuleDirectory()) / ("runtime_test_child" + fs::path(ModulePath()).extension().string());
    }

    static constexpr const char* kSub = "sys test";
    test::TempFolder temp;
};

TEST_F(SystemTest, ModulePathSplitsIntoDirectoryAndFileName) {
    const Text path = ModulePath();
    const Text name = ModuleFileName();
    EXPECT_EQ(name.rfind("runtime_tests", 0), 0u) << name;
    EXPECT_EQ(ModuleDirectory() + Text(1, System().PathSeparator()) + name, path);
    EXPECT_TRUE(FileExists(path));
}

TEST_F(SystemTest, FileExistsForFilesAndFolders) {
    EXPECT_TRUE(FileExists(ModuleDirectory()));
    EXPECT_FALSE(FileExists(InFolder("missing.txt")));
    EXPECT_FALSE(FileExists(""));
    Write("here.txt", "x");
    EXPECT_TRUE(FileExists(InFolder("here.txt")));
}

TEST_F(SystemTest, RenameMovesAndNeverReplacesAnExistingTarget) {
    Write("a.txt", "first");
    ASSERT_TRUE(RenameFile(InFolder("a.txt"), InFolder("b.txt")));
    EXPECT_FALSE(FileExists(InFolder("a.txt")));
    EXPECT_EQ(Read("b.txt"), "first");

    Write("c.txt", "second");
    EXPECT_FALSE(RenameFile(InFolder("c.txt"), InFolder("b.txt")));
    EXPECT_EQ(Read("b.txt"), "first");
    EXPECT_EQ(Read("c.txt"), "second");
    EXPECT_FALSE(RenameFile(InFolder("missing.txt"), InFolder("d.txt")));
}

TEST_F(SystemTest, ProgramFileNamesBackslashPathsRelativeToTheProgram) {
    // Names inside the program directory use "\" between levels on every
    // platform; the file functions map them for the file system.
    fs::create_directories(fs::path(ModuleDirectory()) / "sys_update_probe");
    std::ofstream(fs::path(ModuleDirectory()) / "sys_update_probe" / "config.xml") << "<x/>";
    EXPECT_TRUE(FileExists(ProgramFile("sys_update_probe\\config.xml")));
    fs::remove_all(fs::path(ModuleDirectory()) / "sys_update_probe");
    EXPECT_FALSE(FileExists(ProgramFile("sys_update_probe\\config.xml")));
}

TEST_F(SystemTest, RunProgramWaitsForAProgramInAFolderWithSpaces) {
    // The child is copied into a folder whose name has a space; the quoted
    // path must start it, not a program named after the first word.
    const fs::path child = ChildProgram();
    const fs::path copy = temp.Path() / kSub / child.filename();
    fs::copy_file(child, copy);
    const Text marker = InFolder("marker.txt");

    ASSERT_TRUE(RunProgram(QuotedPath(copy.string()) + " " + QuotedPath(marker) + " one \"two three\"", true));
    EXPECT_EQ(Read("marker.txt"), "one\ntwo three\n");
}

TEST_F(SystemTest, RunProgramReportsAProgramThatCannotStart) {
    EXPECT_FALSE(RunProgram(QuotedPath(InFolder("no such program")), true));
    EXPECT_FALSE(RunProgram("", false));
}

TEST_F(SystemTest, RunProgramWithoutWaitingReturnsAtOnce) {
    const fs::path child = ChildProgram();
    const Text marker = InFolder("later.txt");
    ASSERT_TRUE(RunProgram(QuotedPath(child.string()) + " " + QuotedPath(marker) + " x", false, kShowHidden));
    // The child pauses before writing; poll until it has written.
    for (int i = 0; i < 200 && Read("later.txt").empty(); ++i) Sleep(50);
    EXPECT_EQ(Read("later.txt"), "x\n");
}

// The calculator starts the updater through the elevated start: it must
// reach the program, in a folder with a space, with its parameters as
// written, and report a program that is not there.
TEST_F(SystemTest, ElevatedStartPassesTheParametersAndReportsAMissingProgram) {
    const fs::path copy = temp.Path() / kSub / ChildProgram().filename();
    fs::copy_file(ChildProgram(), copy);
    ASSERT_TRUE(RunProgramElevated(ProgramCommandLine(copy.string(), QuotedPath(InFolder("up.txt")) + " one \"two three\"")));
    for (int i = 0; i < 200 && Read("up.txt").empty(); ++i) Sleep(50);
    EXPECT_EQ(Read("up.txt"), "one\ntwo three\n");
    EXPECT_FALSE(RunProgramElevated(QuotedPath(InFolder("no such program"))));
    EXPECT_FALSE(RunProgramElevated(""));
}

// The updater starts the browser and the calculator as the user. Where that
// way is not available (Windows without a desktop shell window: Wine) the
// answer is false and nothing starts; a start of its own instead would carry
// the updater's rights along. Where it is, the program gets its parameters.
TEST_F(SystemTest, StartAsUserStartsNothingWhenItAnswersFalse) {
    const fs::path copy = temp.Path() / kSub / ChildProgram().filename();
    fs::copy_file(ChildProgram(), copy);
    const bool started = RunProgramAsUser(copy.string(), QuotedPath(InFolder("user.txt")) + " one \"two three\"");
    // The child pauses before it writes; a start that happened shows within
    // five seconds, also under a slow Wine.
    for (int i = 0; i < 100 && Read("user.txt").empty(); ++i) Sleep(50);
    EXPECT_EQ(Read("user.txt"), started ? "one\ntwo three\n" : "");
    EXPECT_FALSE(RunProgramAsUser(InFolder("no such program"), "x"));
    EXPECT_FALSE(RunProgramAsUser(Text(), "x"));
}

TEST_F(SystemTest, EnvironmentValues) {
    EXPECT_FALSE(ReadEnvironment("PATH").empty());
    EXPECT_EQ(ReadEnvironment("QINGHE_SURELY_UNSET_VARIABLE"), "");
    EXPECT_EQ(ReadEnvironment(""), "");
}

TEST_F(SystemTest, RegistryValuesRoundTripWithChineseKeys) {
    const int kMachine = 4, kUser = 3;
    const Text key = "Software\\QingheTest\\Uninstall\\青禾计算器\\DisplayVersion";
    ASSERT_TRUE(WriteRegistryText(kMachine, key, "1.0.0.503"));
    EXPECT_EQ(ReadRegistryText(kMachine, key), "1.0.0.503");
    ASSERT_TRUE(WriteRegistryText(kMachine, key, "1.0.1.0"));
    EXPECT_EQ(ReadRegistryText(kMachine, key), "1.0.1.0");
    // Key and value names compare without regard to case.
    EXPECT_EQ(ReadRegistryText(kMachine, "SOFTWARE\\qinghetest\\Uninstall\\青禾计算器\\displayversion"),
              "1.0.1.0");

    ASSERT_TRUE(WriteRegistryText(kUser, "Software\\QingheTest\\Note", "行一\n\t行二\\"));
    EXPECT_EQ(ReadRegistryText(kUser, "Software\\QingheTest\\Note"), "行一\n\t行二\\");
}

TEST_F(SystemTest, MissingRegistryValuesGiveTheDefault) {
    EXPECT_EQ(ReadRegistryText(4, "Software\\QingheTest\\Nothing\\Here", "默认"), "默认");
    EXPECT_EQ(ReadRegistryText(4, "Software\\QingheTest\\Nothing\\Here"), "");
    EXPECT_EQ(ReadRegistryText(9, "Software\\QingheTest\\Note", "bad root"), "bad root");
    ASSERT_TRUE(WriteRegistryText(3, "Software\\QingheTest\\Empty", ""));
    EXPECT_EQ(ReadRegistryText(3, "Software\\QingheTest\\Empty", "默认"), "默认");
}

TEST(FatalTextTest, MessagesCarryTheirCodesAndNames) {
    EXPECT_EQ(InternalErrorText(1), "program internal error number is 1. (0x1h)");
    EXPECT_EQ(InternalErrorText(4), "program internal error number is 4. (0x4h)");
    EXPECT_EQ(InternalErrorText(255), "program internal error number is 255. (0xFFh)");
    EXPECT_EQ(MissingModuleText("gdiplus.dll"), "同目录下无法找到DLL文件:\"gdiplus.dll\".请与作者联系.");
    EXPECT_EQ(MissingFunctionText("uxtheme.dll", "DrawThemeTextEx"),
              "无法定位DLL文件:\"uxtheme.dll\"当中的\"DrawThemeTextEx\"函数.");
}

}  // namespace
}  // namespace qh
