// Permission bits across MoveFileOver, which the updater uses to put staged
// downloads in place of installed files.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "runtime/files.h"
#include "tests/support/temp_folder.h"

namespace qh {
namespace {

namespace fs = std::filesystem;

mode_t ModeOf(const fs::path& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

// The per-user install's update replaced QingheCalc with a download written
// as plain data (0644), so the relaunch after the update failed.
TEST(MoveFileOver, AnUpdatedProgramStaysRunnable) {
    test::TempFolder folder;
    folder.Write("QingheCalc", "old program");
    folder.Write("staged", "\x7f" "ELF new program");
    ::chmod((folder.Path() / "QingheCalc").c_str(), 0750);
    ::chmod((folder.Path() / "staged").c_str(), 0644);

    ASSERT_TRUE(MoveFileOver((folder.Path() / "staged").string(), (folder.Path() / "QingheCalc").string()));
    EXPECT_EQ(folder.Read("QingheCalc"), "\x7f" "ELF new program");
    EXPECT_EQ(ModeOf(folder.Path() / "QingheCalc"), 0750u);
}

TEST(MoveFileOver, ADataFileKeepsTheModeOfTheFileItReplaces) {
    test::TempFolder folder;
    folder.Write("notes.txt", "old");
    folder.Write("staged", "\x7f" "ELF looks like a program but replaces data");
    ::chmod((folder.Path() / "notes.txt").c_str(), 0600);
    ::chmod((folder.Path() / "staged").c_str(), 0644);

    ASSERT_TRUE(MoveFileOver((folder.Path() / "staged").string(), (folder.Path() / "notes.txt").string()));
    EXPECT_EQ(ModeOf(folder.Path() / "notes.txt"), 0600u);
}

TEST(MoveFileOver, ANewFileIsRunnableOnlyWhenItIsAProgram) {
    test::TempFolder folder;
    folder.Write("program.staged", "\x7f" "ELF");
    folder.Write("script.staged", "#!/bin/sh\n");
    folder.Write("picture.staged", "\x89PNG");
    for (const char* name : {"program.staged", "script.staged", "picture.staged"}) {
        ::chmod((folder.Path() / name).c_str(), 0640);
    }

    for (const char* name : {"program", "script", "picture"}) {
        ASSERT_TRUE(MoveFileOver((folder.Path() / (std::string(name) + ".staged")).string(),
                                 (folder.Path() / name).string()));
    }
    EXPECT_EQ(ModeOf(folder.Path() / "program"), 0750u);
    EXPECT_EQ(ModeOf(folder.Path() / "script"), 0750u);
    EXPECT_EQ(ModeOf(folder.Path() / "picture"), 0640u);
}

}  // namespace
}  // namespace qh
