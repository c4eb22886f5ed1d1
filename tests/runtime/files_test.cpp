#include "runtime/files.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <iterator>
#include <thread>
#include <vector>

#include "runtime/system.h"
#include "tests/support/temp_folder.h"

namespace qh {
namespace {

Bytes BytesOf(std::string_view s) { return Bytes(s.begin(), s.end()); }

// Files and folders directly in a folder: a temporary left behind shows here.
std::size_t EntriesIn(const std::filesystem::path& folder) {
    const std::filesystem::directory_iterator entries(folder);
    return static_cast<std::size_t>(std::distance(begin(entries), end(entries)));
}

TEST(WholeFile, WrittenBytesReadBackExactly) {
    test::TempFolder folder;
    const std::string data("a\r\nb\0c\xff", 7);
    ASSERT_TRUE(WriteWholeFile(folder.File("x.bin"), data));
    Bytes read;
    ASSERT_TRUE(ReadWholeFile(folder.File("x.bin"), read));
    EXPECT_EQ(read, BytesOf(data));
}

TEST(WholeFile, AWriteReplacesTheOldContentAndLeavesNoTemporary) {
    test::TempFolder folder;
    folder.Write("x.txt", "a much longer old content");
    ASSERT_TRUE(WriteWholeFile(folder.File("x.txt"), "new"));
    EXPECT_EQ(folder.Read("x.txt"), "new");
    EXPECT_EQ(EntriesIn(folder.Path()), 1u);
}

TEST(WholeFile, AFailedWriteLeavesWhatWasThereAndNoTemporary) {
    test::TempFolder folder;
    // A folder with a file in it cannot be replaced by a file.
    folder.Write("target/keep.txt", "kept");
    EXPECT_FALSE(WriteWholeFile(folder.File("target"), "new"));
    EXPECT_EQ(folder.Read("target/keep.txt"), "kept");
    EXPECT_EQ(EntriesIn(folder.Path()), 1u);
}

TEST(WholeFile, WritersOnManyThreadsAllSucceedAndLeaveOneWholeContent) {
    test::TempFolder folder;
    const Text target = folder.File("shared.txt");
    constexpr int kThreads = 8;
    constexpr int kWritesEach = 10;
    // Each thread writes its own letter, at a length of its own.
    const auto contentOf = [](char letter) { return std::string(4096 + (letter - 'a'), letter); };
    std::atomic<int> failures{0};
    std::vector<std::thread> writers;
    for (int t = 0; t < kThreads; ++t) {
        writers.emplace_back([&, t] {
            const std::string content = contentOf(static_cast<char>('a' + t));
            for (int i = 0; i < kWritesEach; ++i) {
                if (!WriteWholeFile(target, content)) ++failures;
            }
        });
    }
    for (auto& writer : writers) writer.join();
    EXPECT_EQ(failures.load(), 0);
    const std::string result = folder.Read("shared.txt");
    ASSERT_FALSE(result.empty());
    EXPECT_EQ(result, contentOf(result[0]));
    EXPECT_EQ(EntriesIn(folder.Path()), 1u);
}

TEST(WholeFile, AWriteIntoAMissingFolderFails) {
    test::TempFolder folder;
    EXPECT_FALSE(WriteWholeFile(folder.File("missing\\x.txt"), "x"));
}

TEST(WholeFile, AMissingFileReadsAsFailureAndLeavesTheOutputAlone) {
    test::TempFolder folder;
    Bytes bytes = BytesOf("untouched");
    EXPECT_FALSE(ReadWholeFile(folder.File("missing.txt"), bytes));
    EXPECT_EQ(bytes, BytesOf("untouched"));
    EXPECT_FALSE(ReadWholeFile(Text(), bytes));
}

TEST(CreateFolders, MakesEveryLevelButTheFileName) {
    test::TempFolder folder;
    CreateFolders(folder.File("update\\a\\b\\file.txt"));
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path() / "update" / "a" / "b"));
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "update" / "a" / "b" / "file.txt"));
    // Existing levels are fine, and the file can be written now.
    CreateFolders(folder.File("update\\a\\b\\file.txt"));
    EXPECT_TRUE(WriteWholeFile(folder.File("update\\a\\b\\file.txt"), "x"));
}

TEST(CreateFolders, ChineseLevelsAreNamedAsTheirCharacters) {
    test::TempFolder folder;
    const Text file = folder.File("更新\\皮肤\\青.txt");
    CreateFolders(file);
    ASSERT_TRUE(WriteWholeFile(file, "abc"));
    EXPECT_TRUE(FileExists(file));
    Bytes read;
    ASSERT_TRUE(ReadWholeFile(file, read));
    EXPECT_EQ(read, BytesOf("abc"));
    // On disk the names are the characters themselves (UTF-8 here, UTF-16 on
    // Windows), not their GBK bytes.
    EXPECT_TRUE(std::filesystem::exists(folder.Path() / std::filesystem::path(u8"更新") / u8"皮肤" / u8"青.txt"));
}

TEST(ReadFileBlocks, HandsOverLargeFilesInOrder) {
    test::TempFolder folder;
    std::string data(3 * 1024 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7 + i / 4096);
    folder.Write("big.bin", data);
    std::string seen;
    int blocks = 0;
    ASSERT_TRUE(ReadFileBlocks(folder.File("big.bin"), [&](const std::uint8_t* p, std::size_t n) {
        seen.append(reinterpret_cast<const char*>(p), n);
        ++blocks;
    }));
    EXPECT_EQ(seen, data);
    EXPECT_GT(blocks, 1);
}

}  // namespace
}  // namespace qh
