#include "runtime/posix/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "runtime/native_file.h"
#include "tests/support/temp_folder.h"

namespace qh {
namespace {

namespace fs = std::filesystem;

TEST(ReplaceNativeFile, ALinkAtTheTargetIsReplacedNotWrittenThrough) {
    test::TempFolder folder;
    folder.Write("victim.txt", "victim");
    const fs::path target = folder.Path() / "target.txt";
    fs::create_symlink(folder.Path() / "victim.txt", target);

    ASSERT_TRUE(ReplaceNativeFile(target.string(), "new"));
    EXPECT_EQ(folder.Read("victim.txt"), "victim");
    EXPECT_FALSE(fs::is_symlink(target));
    EXPECT_EQ(folder.Read("target.txt"), "new");
}

TEST(NativeFile, APrivateFileIsNeverOpenToOthersNotEvenRightAfterItsCreation) {
    // With no umask, a file created with the shared mode and narrowed only
    // afterwards would show group and other bits at this point.
    test::TempFolder folder;
    const mode_t kept = ::umask(0);
    struct Case {
        const char* name;
        bool secret;
        mode_t mode;
    };
    for (const Case& c : {Case{"key.pem", true, 0600}, Case{"key.pem.pub", false, 0644}}) {
        NativeFile file;
        const fs::path path = folder.Path() / c.name;
        ASSERT_TRUE(c.secret ? file.CreateNewPrivate(path) : file.CreateNew(path)) << c.name;
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, c.mode) << c.name;
        // Nothing under the name is ever replaced.
        NativeFile again;
        EXPECT_FALSE(c.secret ? again.CreateNewPrivate(path) : again.CreateNew(path)) << c.name;
    }
    ::umask(kept);
}

}  // namespace
}  // namespace qh
