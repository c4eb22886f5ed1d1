// DownloadFile against a real server on 127.0.0.1 (tests/support/
// http_test_server.py starts it and names it in QH_TEST_SERVER), natively
// over libcurl and under Wine over WinInet. The server's pattern routes send
// byte i as i % 251, whole or broken in the ways a network breaks them.
#include "runtime/download.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "runtime/digest.h"
#include "tests/support/temp_folder.h"

namespace qh {
namespace {

namespace fs = std::filesystem;

Text Server() {
    const char* address = std::getenv("QH_TEST_SERVER");
    return address ? Text(address) : Text();
}

std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i % 251);
    return bytes;
}

// Bytes without a period, so that a file continued at the wrong offset
// never matches the original by chance.
std::string Noise(std::size_t size) {
    std::string bytes(size, '\0');
    std::uint32_t state = 2463534242u;
    for (char& byte : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<char>(state >> 24);
    }
    return bytes;
}

// The names in a folder, sorted: what a download left behind.
std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

using Report = std::pair<std::uint32_t, std::uint32_t>;

class DownloadFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(Server().empty()) << "run through tests/support/http_test_server.py"; }

    bool Fetch(const Text& route, const DownloadOptions& options = {}) {
        return DownloadFile(Server() + route, temp.File("file.bin"),
                            [this](std::uint32_t received, std::uint32_t total) {
                                reports.emplace_back(received, total);
                            },
                            options);
    }
    std::string Target() const { return temp.Read("file.bin"); }

    test::TempFolder temp;
    std::vector<Report> reports;
};

TEST_F(DownloadFileTest, WritesExactlyTheBodyIntoFoldersItCreates) {
    const Text path = temp.File("update\\deeper\\file.bin");
    ASSERT_TRUE(DownloadFile(Server() + "/pattern/5000", path, nullptr));
    EXPECT_EQ(temp.Read("update/deeper/file.bin"), Pattern(5000));
    EXPECT_EQ(Entries(temp.Path() / "update" / "deeper"), std::vector<std::string>{"file.bin"});

    // An empty body is an empty file; a redirect leads to the file.
    ASSERT_TRUE(Fetch("/empty"));
    EXPECT_TRUE(fs::exists(temp.Path() / "file.bin"));
    EXPECT_EQ(Target(), "");
    ASSERT_TRUE(Fetch("/redirect"));
    EXPECT_EQ(Target().size(), 512u);
}

TEST_F(DownloadFileTest, ReportsFromTheFirstReadOnWithTheAnnouncedTotal) {
    ASSERT_TRUE(Fetch("/pattern/3000000"));
    EXPECT_EQ(Target(), Pattern(3000000));
    ASSERT_FALSE(reports.empty());
    EXPECT_GT(reports.front().first, 0u);
    EXPECT_LE(reports.front().first, 2048u);
    for (std::size_t i = 0; i < reports.size(); ++i) {
        EXPECT_EQ(reports[i].second, 3000000u);
        EXPECT_LE(reports[i].first, reports[i].second);
        if (i > 0) {
            EXPECT_GT(reports[i].first, reports[i - 1].first);
        }
    }
}

TEST_F(DownloadFileTest, WithoutAnAnnouncedLengthEveryReportCarriesTotalZero) {
    ASSERT_TRUE(Fetch("/no-length/100000"));
    EXPECT_EQ(Target(), Pattern(100000));
    ASSERT_FALSE(reports.empty());
    EXPECT_LE(reports.front().first, 2048u);
    for (const Report& report : reports) EXPECT_EQ(report.second, 0u);
}

TEST_F(DownloadFileTest, TheDigestIsComparedWithoutRegardToCase) {
    temp.Write("expected.bin", Pattern(70000));
    Text digest = FileDigest(temp.File("expected.bin"));
    std::transform(digest.begin(), digest.end(), digest.begin(), [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    DownloadOptions options;
    options.expectedMd5 = digest;
    ASSERT_TRUE(Fetch("/pattern/70000", options));
    EXPECT_EQ(Target(), Pattern(70000));
}

TEST_F(DownloadFileTest, AFailedDownloadLeavesNoFileAndTheOldOneUntouched) {
    DownloadOptions wrongDigest;
    wrongDigest.expectedMd5 = kEmptyDigest;
    const std::vector<std::pair<const char*, DownloadOptions>> faults = {
        {"/status/404", {}},
        {"/status/500", {}},
        {"/truncated/50000", {}},
        {"/pattern/5000", wrongDigest},
    };
    for (const auto& [route, options] : faults) {
        SCOPED_TRACE(route);
        fs::remove(temp.Path() / "file.bin");
        EXPECT_FALSE(Fetch(route, options));
        EXPECT_TRUE(Entries(temp.Path()).empty());

        temp.Write("file.bin", "the old file");
        EXPECT_FALSE(Fetch(route, options));
        EXPECT_EQ(Target(), "the old file");
        EXPECT_EQ(Entries(temp.Path()), std::vector<std::string>{"file.bin"});
    }
    // Nobody listens on port 1.
    EXPECT_FALSE(DownloadFile("http://127.0.0.1:1/file.bin", temp.File("file.bin"), nullptr));
    EXPECT_EQ(Target(), "the old file");
}

// A server that sent more than the listed size, or without end, once filled
// the disk: the transfer fails at once and leaves no file behind.
TEST_F(DownloadFileTest, AnAnswerPastTheListedSizeFailsAndLeavesNothing) {
    for (const char* route : {"/pattern/5000", "/no-length/5000", "/endless"}) {
        SCOPED_TRACE(route);
        DownloadOptions options;
        options.expectedSize = 4000;
        options.partialPath = temp.File("part\\file.bin");
        EXPECT_FALSE(Fetch(route, options));
        EXPECT_FALSE(fs::exists(temp.Path() / "file.bin"));
        EXPECT_FALSE(fs::exists(temp.Path() / "part" / "file.bin"));
    }
}

TEST_F(DownloadFileTest, ASteadyTrickleIsNoStall) {
    DownloadOptions options;
    options.stallTimeoutMs = 2000;
    ASSERT_TRUE(Fetch("/trickle/10/50", options));
    EXPECT_EQ(Target(), Pattern(160));
}

TEST_F(DownloadFileTest, ARetryAfterACutOffTransferSucceeds) {
    EXPECT_FALSE(Fetch("/cut-first/1/40000"));
    EXPECT_FALSE(fs::exists(temp.Path() / "file.bin"));
    ASSERT_TRUE(Fetch("/cut-first/1/40000"));
    EXPECT_EQ(Target(), Pattern(40000));
}

TEST_F(DownloadFileTest, ACancelledDownloadEndsAsAFailedOne) {
    temp.Write("file.bin", "the old file");
    std::atomic<bool> cancel{true};
    DownloadOptions options;
    options.cancel = &cancel;
    EXPECT_FALSE(Fetch("/pattern/100", options));

    // Cancelled at the first report of a transfer that would take seconds.
    cancel = false;
    const bool done = DownloadFile(Server() + "/trickle/100/50", temp.File("file.bin"),
                                   [&cancel](std::uint32_t, std::uint32_t) { cancel = true; }, options);
    EXPECT_FALSE(done);
    EXPECT_TRUE(cancel.load());
    EXPECT_EQ(Target(), "the old file");
    EXPECT_EQ(Entries(temp.Path()), std::vector<std::string>{"file.bin"});
}

TEST_F(DownloadFileTest, ATargetThatCannotBeWrittenFails) {
    temp.Write("blocker", "a file where a folder should be");
    EXPECT_FALSE(DownloadFile(Server() + "/pattern/100", temp.File("blocker\\file.bin"), nullptr));
    EXPECT_EQ(Entries(temp.Path()), std::vector<std::string>{"blocker"});
}

TEST_F(DownloadFileTest, SeveralThreadsDownloadAtOnceEvenToOnePath) {
    const std::vector<Text> paths = {temp.File("a.bin"), temp.File("b.bin"), temp.File("same.bin"),
                                     temp.File("same.bin")};
    std::vector<char> done(paths.size(), 0);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        threads.emplace_back([&, i] { done[i] = DownloadFile(Server() + "/pattern/300000", paths[i], nullptr); });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(done, std::vector<char>(paths.size(), 1));
    EXPECT_EQ(Entries(temp.Path()), (std::vector<std::string>{"a.bin", "b.bin", "same.bin"}));
    for (const char* name : {"a.bin", "b.bin", "same.bin"}) EXPECT_EQ(temp.Read(name), Pattern(300000)) << name;
}

// Downloads that keep a partial file between calls, of files the test puts
// under the server's root. The partial file sits where the updater keeps
// its own: in a folder of its own beside the target.
class ResumeTest : public DownloadFileTest {
protected:
    void TearDown() override {
        std::error_code ignored;
        fs::remove(Root() / ".faults", ignored);
        for (const std::string& name : served_) fs::remove(Root() / name, ignored);
    }

    static fs::path Root() {
        const char* root = std::getenv("QH_TEST_SERVER_ROOT");
        return root ? fs::path(root) : fs::path();
    }
    // Puts a file under the server's root; the options check its digest.
    DownloadOptions Serve(const std::string& name, const std::string& bytes) {
        served_.push_back(name);
        std::ofstream(Root() / name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        DownloadOptions options;
        options.partialPath = temp.File("update\\part\\file.bin");
        options.expectedMd5 = FileDigest(Root().string() + "\\" + name);
        return options;
    }
    static void PlanFaults(const std::string& plan) { std::ofstream(Root() / ".faults") << plan; }

    // The server's log lines of the requests for path, in order.
    static std::vector<std::string> Requests(const std::string& path) {
        const char* log = std::getenv("QH_TEST_SERVER_LOG");
        std::ifstream in(log ? log : "");
        std::vector<std::string> lines;
        const std::string request = "GET " + path;
        for (std::string line; std::getline(in, line);) {
            if (line == request || line.starts_with(request + " Range: ")) lines.push_back(line);
        }
        return lines;
    }
    static std::string Ranged(const std::string& path, std::size_t from) {
        return "GET " + path + " Range: bytes=" + std::to_string(from) + "-";
    }

    fs::path PartialFile() const { return temp.Path() / "update" / "part" / "file.bin"; }
    std::string Partial() const { return temp.Read("update/part/file.bin"); }

private:
    std::vector<std::string> served_;
};

TEST_F(ResumeTest, AFileDroppedAt60PerCentContinuesFromThereOnTheRetry) {
    const std::string file = Noise(50 * 1024 * 1024);
    const std::size_t cut = file.size() * 60 / 100;
    const DownloadOptions options = Serve("big.bin", file);
    PlanFaults("/big.bin drop-60 1\n");

    EXPECT_FALSE(Fetch("/big.bin", options));
    EXPECT_FALSE(fs::exists(temp.Path() / "file.bin"));
    ASSERT_EQ(fs::file_size(PartialFile()), cut);
    EXPECT_TRUE(Partial() == file.substr(0, cut)) << "the partial file is not the file's start";

    reports.clear();
    ASSERT_TRUE(Fetch("/big.bin", options));
    EXPECT_EQ(Requests("/big.bin"), (std::vector<std::string>{"GET /big.bin", Ranged("/big.bin", cut)}));
    EXPECT_TRUE(Target() == file) << "the continued file is not the original";
    EXPECT_EQ(FileDigest(temp.File("file.bin")), options.expectedMd5);
    EXPECT_FALSE(fs::exists(PartialFile()));
    // The reports go on from the partial file's length towards the whole
    // file's.
    ASSERT_FALSE(reports.empty());
    EXPECT_GT(reports.front().first, cut);
    EXPECT_LE(reports.front().first, cut + 2048);
    for (const Report& report : reports) EXPECT_EQ(report.second, file.size());
}

TEST_F(ResumeTest, AServerThatIgnoresTheRangeSendsTheWholeFileAgain) {
    const std::string file = Noise(1000000);
    const DownloadOptions options = Serve("plain.bin", file);
    PlanFaults("/plain.bin drop-60 1\n");
    EXPECT_FALSE(Fetch("/plain.bin", options));
    ASSERT_EQ(fs::file_size(PartialFile()), 600000u);

    PlanFaults("/plain.bin no-range\n");
    reports.clear();
    ASSERT_TRUE(Fetch("/plain.bin", options));
    EXPECT_EQ(Requests("/plain.bin"), (std::vector<std::string>{"GET /plain.bin", Ranged("/plain.bin", 600000)}));
    EXPECT_TRUE(Target() == file);
    EXPECT_FALSE(fs::exists(PartialFile()));
    ASSERT_FALSE(reports.empty());
    EXPECT_LE(reports.front().first, 2048u);
}

TEST_F(ResumeTest, ADamagedPartialFailsTheDigestIsRemovedAndTheNextCallStartsFromZero) {
    const std::string file = Noise(1000000);
    const DownloadOptions options = Serve("damaged.bin", file);
    PlanFaults("/damaged.bin drop-60 1\n");
    temp.Write("file.bin", "the old file");
    EXPECT_FALSE(Fetch("/damaged.bin", options));
    std::string damaged = Partial();
    ASSERT_EQ(damaged.size(), 600000u);
    damaged[1000] = static_cast<char>(damaged[1000] ^ 1);
    temp.Write("update/part/file.bin", damaged);

    EXPECT_FALSE(Fetch("/damaged.bin", options));
    EXPECT_FALSE(fs::exists(PartialFile()));
    EXPECT_EQ(Target(), "the old file");

    ASSERT_TRUE(Fetch("/damaged.bin", options));
    EXPECT_EQ(Requests("/damaged.bin"), (std::vector<std::string>{"GET /damaged.bin", Ranged("/damaged.bin", 600000),
                                                                   "GET /damaged.bin"}));
    EXPECT_TRUE(Target() == file);
}

// A partial file as long as the file itself (the program ended after its
// last byte came, before it was put in place) has nothing left to ask for.
TEST_F(ResumeTest, ARangeTheServerCannotSatisfyRemovesThePartial) {
    const std::string file = Noise(5000);
    const DownloadOptions options = Serve("whole.bin", file);
    temp.Write("update/part/file.bin", file);
    EXPECT_FALSE(Fetch("/whole.bin", options));
    EXPECT_FALSE(fs::exists(PartialFile()));
    EXPECT_FALSE(fs::exists(temp.Path() / "file.bin"));

    ASSERT_TRUE(Fetch("/whole.bin", options));
    EXPECT_EQ(Requests("/whole.bin"), (std::vector<std::string>{Ranged("/whole.bin", 5000), "GET /whole.bin"}));
    EXPECT_TRUE(Target() == file);
}

TEST_F(ResumeTest, ACancelledTransferKeepsItsBytesForTheNextCall) {
    const std::string file = Noise(3000000);
    DownloadOptions options = Serve("cancelled.bin", file);
    std::atomic<bool> cancel{false};
    options.cancel = &cancel;
    EXPECT_FALSE(DownloadFile(Server() + "/cancelled.bin", temp.File("file.bin"),
                              [&cancel](std::uint32_t, std::uint32_t) { cancel = true; }, options));
    const std::string kept = Partial();
    ASSERT_GT(kept.size(), 0u);
    ASSERT_LT(kept.size(), file.size());
    EXPECT_TRUE(kept == file.substr(0, kept.size()));

    cancel = false;
    ASSERT_TRUE(Fetch("/cancelled.bin", options));
    EXPECT_EQ(Requests("/cancelled.bin"),
              (std::vector<std::string>{"GET /cancelled.bin", Ranged("/cancelled.bin", kept.size())}));
    EXPECT_TRUE(Target() == file);
}

}  // namespace
}  // namespace qh
