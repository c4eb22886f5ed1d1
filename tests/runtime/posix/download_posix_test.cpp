// DownloadFile over libcurl: the breaks that only the Linux transfer can see
// without a digest, and links planted at a partial file's path. WinInet
// under Wine takes a chunked body that breaks off for a whole one and never
// ends a read that waits, and Wine makes no symbolic links, so these cases
// are not run in the Windows build.
#include "runtime/download.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/temp_folder.h"

namespace qh {
namespace {

namespace fs = std::filesystem;

Text Server() {
    const char* address = std::getenv("QH_TEST_SERVER");
    return address ? Text(address) : Text();
}

TEST(DownloadFilePosix, ABodyThatBreaksOffOrStallsFailsWithoutADigest) {
    ASSERT_FALSE(Server().empty()) << "run through tests/support/http_test_server.py";
    test::TempFolder temp;
    temp.Write("file.bin", "the old file");
    DownloadOptions impatient;
    impatient.stallTimeoutMs = 500;
    // A chunked body whose last chunk never comes, and a body that stops
    // after 4 of its 10 bytes while the connection stays open.
    for (const char* route : {"/dropped/50000", "/stall-body"}) {
        SCOPED_TRACE(route);
        EXPECT_FALSE(DownloadFile(Server() + route, temp.File("file.bin"), nullptr, impatient));
        EXPECT_EQ(temp.Read("file.bin"), "the old file");
        EXPECT_EQ(std::distance(fs::directory_iterator(temp.Path()), fs::directory_iterator()), 1);
    }
}

TEST(DownloadFilePosix, AStalledTransferKeepsWhatArrivedForTheNextCall) {
    ASSERT_FALSE(Server().empty()) << "run through tests/support/http_test_server.py";
    test::TempFolder temp;
    DownloadOptions options;
    options.stallTimeoutMs = 500;
    options.partialPath = temp.File("part\\file.bin");
    EXPECT_FALSE(DownloadFile(Server() + "/stall-body", temp.File("file.bin"), nullptr, options));
    EXPECT_EQ(temp.Read("part/file.bin"), "part");
    EXPECT_FALSE(fs::exists(temp.Path() / "file.bin"));
}

// The updater runs with administrator rights: a link under the partial
// file's name must not make it write elsewhere, whether the link leads to a
// file or to nothing yet.
TEST(DownloadFilePosix, ALinkPlantedAtThePartialPathIsRemovedNotFollowed) {
    ASSERT_FALSE(Server().empty()) << "run through tests/support/http_test_server.py";
    test::TempFolder temp;
    temp.Write("precious", "precious");
    DownloadOptions options;
    options.partialPath = temp.File("part.bin");
    for (const char* aim : {"precious", "made-through-link"}) {
        SCOPED_TRACE(aim);
        fs::create_symlink(temp.Path() / aim, temp.Path() / "part.bin");
        ASSERT_TRUE(DownloadFile(Server() + "/pattern/5000", temp.File("file.bin"), nullptr, options));
        EXPECT_EQ(temp.Read("file.bin").size(), 5000u);
        EXPECT_FALSE(fs::exists(fs::symlink_status(temp.Path() / "part.bin")));
        EXPECT_EQ(temp.Read("precious"), "precious");
        EXPECT_FALSE(fs::exists(temp.Path() / "made-through-link"));
    }
}

}  // namespace
}  // namespace qh
