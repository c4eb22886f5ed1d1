// The receiving end of DownloadFile with a partial file, driven the way the
// transfers drive it: the answer's status and headers, then the body's
// reads, then the end of the transfer.
#include "runtime/download_target.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "tests/support/temp_folder.h"

namespace qh {
namespace {

namespace fs = std::filesystem;

// The digest of "hello world".
constexpr char kHelloWorldMd5[] = "5EB63BBBE01EEED093CB22BB8F5ACDC3";

class DownloadTargetTest : public ::testing::Test {
protected:
    DownloadTargetTest() { options.partialPath = temp.File("part.bin"); }

    // A download's receiving end, as one call of DownloadFile makes it.
    // target is the file's name in the folder ("\" between levels), native
    // the same name as the file system spells it.
    std::unique_ptr<DownloadTarget> Start(const Text& target = "file.bin", const fs::path& native = "file.bin") {
        return std::make_unique<DownloadTarget>(temp.File(target), temp.Path() / native, temp.Path() / "part.bin",
                                                progress, options);
    }
    bool PartialExists() const { return fs::exists(temp.Path() / "part.bin"); }

    test::TempFolder temp;
    DownloadOptions options;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> reports;
    DownloadProgress progress = [this](std::uint32_t received, std::uint32_t total) {
        reports.emplace_back(received, total);
    };
};

TEST_F(DownloadTargetTest, ARangeThatDoesNotContinueThePartialRemovesIt) {
    struct Answer {
        long status;
        std::optional<std::uint64_t> length;
        const char* range;
    };
    for (const Answer& answer : {Answer{206, 5, "bytes 4-8/9"}, Answer{206, 3, "bytes 6-8/9"},
                                 Answer{206, 3, "bytes 5-8/9"}, Answer{206, 4, ""}, Answer{206, 0, "bytes */9"},
                                 Answer{416, 0, "bytes */5"}}) {
        SCOPED_TRACE(answer.range);
        temp.Write("part.bin", "hello");
        auto target = Start();
        EXPECT_EQ(target->ResumeOffset(), 5u);
        EXPECT_FALSE(target->Begin(answer.status, answer.length, answer.range));
        target.reset();
        EXPECT_FALSE(PartialExists());
    }
    // A server in trouble says nothing about the partial file.
    temp.Write("part.bin", "hello");
    EXPECT_FALSE(Start()->Begin(500, 10, ""));
    EXPECT_EQ(temp.Read("part.bin"), "hello");
}

// A server that does not know the whole length: the reports carry none, and
// the digest alone decides; a wrong one removes the partial file.
TEST_F(DownloadTargetTest, WithoutATotalTheDigestAloneJudgesTheContinuedFile) {
    options.expectedMd5 = kHelloWorldMd5;
    temp.Write("part.bin", "jello");
    auto target = Start();
    ASSERT_TRUE(target->Begin(206, std::nullopt, "bytes 5-10/*"));
    ASSERT_TRUE(target->Receive(" world", 6));
    EXPECT_EQ(reports, (decltype(reports){{11, 0}}));
    EXPECT_FALSE(target->Commit());
    target.reset();
    EXPECT_FALSE(PartialExists());
    EXPECT_FALSE(fs::exists(temp.Path() / "file.bin"));

    temp.Write("part.bin", "hello");
    target = Start();
    ASSERT_TRUE(target->Begin(206, std::nullopt, "bytes 5-10/*"));
    ASSERT_TRUE(target->Receive(" world", 6));
    ASSERT_TRUE(target->Commit());
    EXPECT_EQ(temp.Read("file.bin"), "hello world");
}

// Stale bytes longer than the new file must not survive past its end, and
// the target's folders are made even though the partial file sits elsewhere.
TEST_F(DownloadTargetTest, AWholeAnswerReplacesWhatThePartialHeld) {
    temp.Write("part.bin", "stale bytes of another file");
    auto target = Start("deeper\\file.bin", fs::path("deeper") / "file.bin");
    ASSERT_TRUE(target->Begin(200, 11, ""));
    ASSERT_TRUE(target->Receive("hello world", 11));
    ASSERT_TRUE(target->Commit());
    EXPECT_EQ(temp.Read("deeper/file.bin"), "hello world");
}

TEST_F(DownloadTargetTest, ABrokenTransferKeepsWhatArrivedAndAnOverrunRemovesIt) {
    temp.Write("part.bin", "hello");
    auto target = Start();
    ASSERT_TRUE(target->Begin(206, 6, "bytes 5-10/11"));
    ASSERT_TRUE(target->Receive(" wo", 3));
    target.reset();
    EXPECT_EQ(temp.Read("part.bin"), "hello wo");

    // Shorter than announced: kept for the next call as well.
    target = Start();
    ASSERT_TRUE(target->Begin(206, 3, "bytes 8-10/11"));
    ASSERT_TRUE(target->Receive("r", 1));
    EXPECT_FALSE(target->Commit());
    target.reset();
    EXPECT_EQ(temp.Read("part.bin"), "hello wor");

    // More than the range announced is not the file.
    target = Start();
    ASSERT_TRUE(target->Begin(206, 2, "bytes 9-10/11"));
    EXPECT_FALSE(target->Receive("ld!", 3));
    target.reset();
    EXPECT_FALSE(PartialExists());
    EXPECT_FALSE(fs::exists(temp.Path() / "file.bin"));
}

// A server that announced or sent more than the listed size (or the bound
// without one) once filled the disk: the transfer fails at its first byte
// too many, and nothing it wrote stays behind.
TEST_F(DownloadTargetTest, AnswerPastTheListedSizeOrTheBoundFailsAndLeavesNothing) {
    struct Case {
        const char* name;
        std::optional<std::uint64_t> listed;
        std::optional<std::uint64_t> announced;
        const char* body;
    };
    for (const Case& c : {Case{"announced past the size", 5, 11, ""}, Case{"sent past the size", 5, std::nullopt, "hello world"},
                          Case{"announced past the bound", std::nullopt, kMaxUnsizedDownload + 1, ""}}) {
        SCOPED_TRACE(c.name);
        options.expectedSize = c.listed;
        fs::remove(temp.Path() / "part.bin");
        auto target = Start();
        const bool begun = target->Begin(200, c.announced, "");
        EXPECT_FALSE(begun && target->Receive("hel", 3) && target->Receive(c.body, std::string_view(c.body).size()));
        target.reset();
        EXPECT_FALSE(PartialExists());
        EXPECT_FALSE(fs::exists(temp.Path() / "file.bin"));
    }
    // A range whose whole file is longer than the size is refused as well.
    options.expectedSize = 8;
    temp.Write("part.bin", "hello");
    EXPECT_FALSE(Start()->Begin(206, 6, "bytes 5-10/11"));
    EXPECT_FALSE(PartialExists());
}

// A partial file longer than the listed size can be no start of the file:
// it is gone before any request, and a short whole body is kept to continue.
TEST_F(DownloadTargetTest, PartialPastTheListedSizeIsDiscardedAndAShortBodyKept) {
    options.expectedSize = 11;
    temp.Write("part.bin", "hello world, and more");
    auto target = Start();
    EXPECT_EQ(target->ResumeOffset(), 0u);
    EXPECT_FALSE(PartialExists());
    ASSERT_TRUE(target->Begin(200, std::nullopt, ""));
    ASSERT_TRUE(target->Receive("hello", 5));
    EXPECT_FALSE(target->Commit());
    target.reset();
    EXPECT_EQ(temp.Read("part.bin"), "hello");
}

}  // namespace
}  // namespace qh
