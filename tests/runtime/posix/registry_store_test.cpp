#include "runtime/posix/registry_store.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace qh {
namespace {

namespace fs = std::filesystem;

// A store in a folder of its own that the first write creates.
class RegistryStoreTest : public ::testing::Test {
protected:
    fs::path StorePath() const { return temp.Path() / "QingheCalc" / "registry.txt"; }
    RegistryStore Store() const { return RegistryStore(StorePath().string()); }
    fs::perms ModeOf(const fs::path& path) const { return fs::status(path).permissions(); }

    test::TempFolder temp;
};

// Sets the process's umask for one scope.
class ScopedUmask {
public:
    explicit ScopedUmask(mode_t mask) : old_(::umask(mask)) {}
    ~ScopedUmask() { ::umask(old_); }
    ScopedUmask(const ScopedUmask&) = delete;
    ScopedUmask& operator=(const ScopedUmask&) = delete;

private:
    mode_t old_;
};

Text ValueName(int writer, int index) { return "v" + std::to_string(writer) + "-" + std::to_string(index); }

// Starts a process that waits until the go pipe closes, writes its values and
// ends with 0 when every write succeeded.
pid_t StartWriter(const RegistryStore& store, int writer, int writes, const int go[2]) {
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    ::close(go[1]);
    char byte;
    while (::read(go[0], &byte, 1) < 0 && errno == EINTR) {
    }
    int failures = 0;
    for (int i = 0; i < writes; ++i) {
        const Text name = ValueName(writer, i);
        if (!store.Write("Software\\QingheTest", name, "x" + name)) ++failures;
    }
    ::_exit(failures == 0 ? 0 : 1);
}

TEST_F(RegistryStoreTest, WritersInSeveralProcessesKeepEveryValue) {
    constexpr int kWriters = 4;
    constexpr int kWritesEach = 50;
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    std::vector<pid_t> writers;
    for (int w = 0; w < kWriters; ++w) writers.push_back(StartWriter(Store(), w, kWritesEach, go));
    // Closing the pipe lets all writers start at once.
    ::close(go[0]);
    ::close(go[1]);
    for (const pid_t pid : writers) {
        ASSERT_GT(pid, 0);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a writer reported a failed write";
    }
    int missing = 0;
    for (int w = 0; w < kWriters; ++w) {
        for (int i = 0; i < kWritesEach; ++i) {
            if (Store().Read("software\\qinghetest", ValueName(w, i)) != "x" + ValueName(w, i)) ++missing;
        }
    }
    EXPECT_EQ(missing, 0) << "of " << kWriters * kWritesEach << " values";
}

TEST_F(RegistryStoreTest, AStoreThatCannotBeReadFailsTheWriteAndStaysAsItWas) {
    // The store's name leads to a folder: it exists, and reading it fails.
    ASSERT_TRUE(Store().Write("K", "old", "1"));
    temp.Write("elsewhere/keep.txt", "kept");
    fs::remove(StorePath());
    fs::create_directory_symlink(temp.Path() / "elsewhere", StorePath());

    EXPECT_FALSE(Store().Write("K", "new", "2"));
    EXPECT_EQ(Store().Read("K", "new"), std::nullopt);
    EXPECT_TRUE(fs::is_symlink(StorePath()));
    EXPECT_EQ(fs::read_symlink(StorePath()), temp.Path() / "elsewhere");
    EXPECT_EQ(temp.Read("elsewhere/keep.txt"), "kept");
}

TEST_F(RegistryStoreTest, AStoreWithoutReadPermissionFailsTheWriteAndStaysAsItWas) {
    // Permissions do not keep the superuser from reading a file.
    if (::geteuid() == 0) GTEST_SKIP() << "running as root, which reads a file of mode 000";
    ASSERT_TRUE(Store().Write("K", "old", "1"));
    const std::string before = temp.Read(fs::path("QingheCalc") / "registry.txt");
    fs::permissions(StorePath(), fs::perms::none);

    EXPECT_FALSE(Store().Write("K", "new", "2"));
    EXPECT_EQ(Store().Read("K", "old"), std::nullopt);
    EXPECT_EQ(ModeOf(StorePath()), fs::perms::none);
    fs::permissions(StorePath(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(temp.Read(fs::path("QingheCalc") / "registry.txt"), before);
}

TEST_F(RegistryStoreTest, PlantedLinksBesideTheStoreAreNeverWrittenThrough) {
    ASSERT_TRUE(Store().Write("K", "first", "1"));
    temp.Write("victim.txt", "victim");
    const fs::path victim = temp.Path() / "victim.txt";
    // A link where a temporary named after the process alone would go.
    fs::create_symlink(victim, StorePath().string() + "." + std::to_string(::getpid()) + ".new");

    ASSERT_TRUE(Store().Write("K", "second", "2"));
    EXPECT_EQ(temp.Read("victim.txt"), "victim");
    EXPECT_EQ(Store().Read("K", "first"), "1");
    EXPECT_EQ(Store().Read("K", "second"), "2");

    // A link at the lock file's name fails the write instead of creating the
    // file it points to.
    const fs::path absent = temp.Path() / "created-through-link.txt";
    const fs::path lock = StorePath().string() + ".lock";
    fs::remove(lock);
    fs::create_symlink(absent, lock);
    EXPECT_FALSE(Store().Write("K", "third", "3"));
    EXPECT_FALSE(fs::exists(absent));
    EXPECT_EQ(Store().Read("K", "second"), "2");
}

TEST_F(RegistryStoreTest, TheStoreKeepsItsModeAndANewStoreFollowsTheUmask) {
    const ScopedUmask mask(027);
    ASSERT_TRUE(Store().Write("K", "a", "1"));
    EXPECT_EQ(ModeOf(StorePath()), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    fs::permissions(StorePath(), fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(Store().Write("K", "b", "2"));
    EXPECT_EQ(ModeOf(StorePath()), fs::perms::owner_read | fs::perms::owner_write);

    const ScopedUmask noMask(0);
    ASSERT_TRUE(Store().Write("K", "c", "3"));
    EXPECT_EQ(ModeOf(StorePath()), fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(RegistryStoreTest, DoubleByteCharactersCompareExactlyAndSingleByteLettersIgnoreCase) {
    // The two characters differ only in a trail byte that looks like "A"/"a".
    ASSERT_EQ(Text("癆"), "\xB0\x41");
    ASSERT_EQ(Text("癮"), "\xB0\x61");
    ASSERT_TRUE(Store().Write("Software\\癆", "值", "one"));
    ASSERT_TRUE(Store().Write("Software\\癮", "值", "two"));
    EXPECT_EQ(Store().Read("Software\\癆", "值"), "one");
    EXPECT_EQ(Store().Read("Software\\癮", "值"), "two");

    ASSERT_TRUE(Store().Write("Software\\ABC", "Name癆X", "three"));
    EXPECT_EQ(Store().Read("software\\abc", "NAME癆x"), "three");
    EXPECT_EQ(Store().Read("software\\abc", "NAME癮x"), std::nullopt);
    ASSERT_TRUE(Store().Write("SOFTWARE\\abc", "name癆x", "four"));
    EXPECT_EQ(Store().Read("Software\\ABC", "Name癆X"), "four");
}

}  // namespace
}  // namespace qh
