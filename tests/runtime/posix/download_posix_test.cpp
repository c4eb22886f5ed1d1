// DownloadFile over libcurl: the breaks that only the Linux transfer can see
// without a digest. WinInet under Wine takes a chunked body that breaks off
// for a whole one and never ends a read that waits, so these cases are not
// run in the Windows build.
#include "runtime/download.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

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

}  // namespace
}  // namespace qh
