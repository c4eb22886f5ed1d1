// HttpRequest and DownloadFile over HTTPS against the tests' server with a
// self-signed certificate for "localhost" (tests/runtime/posix/https_test.sh
// makes it, trusts it through SSL_CERT_FILE and starts the server with it).
// A certificate the client cannot trust, or one for another name, fails the
// request: there is no quiet way around it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "runtime/download.h"
#include "runtime/http.h"
#include "tests/support/temp_folder.h"

namespace qh {
namespace {

namespace fs = std::filesystem;

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

class Https : public ::testing::Test {
protected:
    void SetUp() override {
        server_ = Env("QH_TEST_SERVER");
        trusted_ = Env("SSL_CERT_FILE");
        ASSERT_EQ(server_.rfind("https://localhost:", 0), 0u) << "run through https_test.sh";
        ASSERT_FALSE(trusted_.empty());
    }
    void TearDown() override { ::setenv("SSL_CERT_FILE", trusted_.c_str(), 1); }

    // The same server, named by its address instead of "localhost".
    std::string ByAddress() const { return "https://127.0.0.1:" + server_.substr(server_.rfind(':') + 1); }

    bool Downloads(const std::string& url) {
        const fs::path target = folder_.Path() / "file.bin";
        const bool ok = DownloadFile(url + "/pattern/5000", target.string(), nullptr);
        EXPECT_EQ(ok, fs::exists(target)) << "a failed download left a file, or a good one none";
        fs::remove(target);
        return ok;
    }

    std::string server_;
    std::string trusted_;
    test::TempFolder folder_;
};

TEST_F(Https, ATrustedCertificateForTheServersNameIsAccepted) {
    EXPECT_EQ(HttpRequest(server_ + "/binary").size(), 512u);
    EXPECT_TRUE(Downloads(server_));
}

TEST_F(Https, ACertificateForAnotherNameIsRefused) {
    EXPECT_TRUE(HttpRequest(ByAddress() + "/binary").empty());
    EXPECT_FALSE(Downloads(ByAddress()));
}

TEST_F(Https, ACertificateOutsideTheTrustStoreIsRefused) {
    // Another self-signed certificate is all the client trusts now.
    ::setenv("SSL_CERT_FILE", Env("QH_TEST_OTHER_CERT").c_str(), 1);
    EXPECT_TRUE(HttpRequest(server_ + "/binary").empty());
    EXPECT_FALSE(Downloads(server_));
}

}  // namespace
}  // namespace qh
