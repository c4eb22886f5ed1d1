#include "runtime/posix/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>

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

}  // namespace
}  // namespace qh
