// Links, pipes and huge files in the folders the publisher reads and writes.
// Symbolic links and pipes are made with the POSIX calls, so this runs in the
// native builds.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>
#include <thread>
#include <filesystem>
#include <future>

#include "tests/tools/qinghe-publish/publish_fixture.h"

namespace qh {
namespace {

namespace fs = std::filesystem;
using test::PublishCommand;

TEST_F(PublishCommand, LinksInTheServerFolderAreNeverWrittenThrough) {
    test::TempFolder outside;
    outside.Write("victim.exe", "outside");
    fs::create_directories(ServerPath());
    fs::create_symlink(outside.Path() / "victim.exe", ServerPath() / "QingheCalc.exe");
    ToolOutput output = Publish();
    EXPECT_EQ(output.status, kPublishFailed);
    EXPECT_NE(output.error.find("链接"), Text::npos) << output.error;
    EXPECT_EQ(outside.Read("victim.exe"), "outside");

    // A folder on the way to a served file.
    fs::remove(ServerPath() / "QingheCalc.exe");
    fs::create_directory_symlink(outside.Path(), ServerPath() / "skin");
    output = Publish();
    EXPECT_EQ(output.status, kPublishFailed);
    EXPECT_FALSE(fs::exists(outside.Path() / "bg.png"));
    EXPECT_FALSE(fs::exists(ServerPath() / "renewlist.xml"));
}

TEST_F(PublishCommand, EveryEntryOfTheReleaseThatIsNotARegularFileIsRefused) {
    test::TempFolder outside;
    outside.Write("secret.txt", "not part of the release");
    outside.Write("folder/x.txt", "nor this");
    const fs::path release = work.Path() / "release";
    const std::vector<std::function<void()>> plants = {
        [&] { fs::create_symlink(outside.Path() / "secret.txt", release / "secret.txt"); },
        [&] { fs::create_directory_symlink(outside.Path() / "folder", release / "folder"); },
        [&] { fs::create_symlink(outside.Path() / "gone", release / "broken"); },
        [&] { ASSERT_EQ(::mkfifo((release / "pipe").c_str(), 0600), 0); },
    };
    for (const auto& plant : plants) {
        plant();
        const ToolOutput output = Publish();
        EXPECT_EQ(output.status, kPublishFailed);
        EXPECT_NE(output.error.find("非普通文件"), Text::npos) << output.error;
        for (const char* name : {"secret.txt", "folder", "broken", "pipe"}) fs::remove(release / name);
    }
    EXPECT_FALSE(fs::exists(ServerPath() / "renewlist.xml"));
}

TEST_F(PublishCommand, TheCheckReadsOnlyRegularFilesOfBoundedSize) {
    ASSERT_EQ(Publish().status, kPublishOk);
    // A pipe that nobody writes would block a plain read for ever.
    fs::remove(ServerPath() / "renewlist.xml");
    ASSERT_EQ(::mkfifo((ServerPath() / "renewlist.xml").c_str(), 0600), 0);
    fs::remove(ServerPath() / "QingheCalc.exe");
    ASSERT_EQ(::mkfifo((ServerPath() / "QingheCalc.exe").c_str(), 0600), 0);
    auto checked = std::async(std::launch::async, [this] { return Check(); });
    if (checked.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        ADD_FAILURE() << "the check blocked on a pipe";
        // Open the pipes' other ends, so that the blocked read ends and the
        // test can.
        for (const char* name : {"renewlist.xml", "QingheCalc.exe"}) {
            const int fd = ::open((ServerPath() / name).c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) ::close(fd);
        }
    }
    const ToolOutput output = checked.get();
    EXPECT_EQ(output.status, kPublishFailed);
    EXPECT_NE(output.out.find("renewlist.xml: 缺失、不是普通文件"), Text::npos) << output.out;

    // A list far larger than any real one is refused unread (a sparse file).
    fs::remove(ServerPath() / "renewlist.xml");
    work.Write("server/renewlist.xml", "<l>");
    fs::resize_file(ServerPath() / "renewlist.xml", std::uintmax_t{65} << 20);
    EXPECT_NE(Check().out.find("大于 64 MiB"), Text::npos);
}

}  // namespace
}  // namespace qh
