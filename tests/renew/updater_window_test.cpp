// The updater window in the headless host: how it ends. Message 1024 and a
// close in automatic mode end it without asking; in interactive mode a close
// asks first (the test platform fails a test that opens a modal box, so the
// asking case is driven through uidriver in renew_uidriver_test.sh).
#include <gtest/gtest.h>

#include "renew/banner_content.h"
#include "renew/updater_window.h"
#include "tests/support/test_platform.h"
#include "tests/toolkit/test_backend.h"
#include "toolkit/messages.h"
#include "toolkit/toolkit.h"

namespace qh {
namespace {

class UpdaterWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ToolkitStartup(platform.host, *graphics);
        // No address at all: the banner and the version check fail at once
        // (a refused connection would cost Wine's XMLHTTP its time limit).
        state.updateUrl = "";
        state.localVersion = "1.0.0.503";
    }
    void TearDown() override {
        window.reset();
        ToolkitShutdown();
    }
    void Build(bool interactive) {
        state.interactive = interactive;
        window = std::make_unique<UpdaterWindow>(platform, state);
        ASSERT_TRUE(window->Build());
    }
    HostHandle Handle() { return window->Controls().hwnd; }

    std::unique_ptr<GraphicsDriver> graphics = MakeTestGraphicsDriver();
    TestPlatform platform{*graphics};
    UpdaterState state;
    std::unique_ptr<UpdaterWindow> window;
};

TEST_F(UpdaterWindowTest, Message1024EndsItWithoutAsking) {
    Build(true);
    EXPECT_TRUE(platform.host.Visible(Handle()));
    platform.host.Send(Handle(), 1024);
    EXPECT_EQ(platform.quitCodes, std::vector<int>{0});
    EXPECT_TRUE(state.stopping);
}

TEST_F(UpdaterWindowTest, InAutomaticModeItIsNeverShownAndClosesWithoutAsking) {
    Build(false);
    EXPECT_FALSE(platform.host.Visible(Handle()));
    platform.host.Send(Handle(), msg::kClose);
    EXPECT_FALSE(platform.host.Exists(Handle()));
    EXPECT_EQ(platform.quitCodes, std::vector<int>{0});
}

TEST_F(UpdaterWindowTest, OnceNothingIsLeftToLoseItClosesWithoutAsking) {
    Build(true);
    state.closeWithoutAsking = true;
    platform.host.Send(Handle(), msg::kClose);
    EXPECT_FALSE(platform.host.Exists(Handle()));
}

// The banner once stayed empty until three requests on the window's thread
// had come back, and showed nothing when the server offered nothing.
TEST_F(UpdaterWindowTest, TheBannerShowsTheBuiltInPictureFromTheStart) {
    Build(true);
    const UiImage& picture = window->Controls().banner.Picture();
    EXPECT_EQ(picture.Width(), 120);
    EXPECT_EQ(picture.Height(), 260);
}

// A banner target with a quote or a space once reached the browser's
// command line, where it could break out of its quotes.
TEST(BannerTarget, OnlyAPlainWebAddressIsOpened) {
    const std::pair<Text, bool> cases[] = {
        {"http://qinghe.example/ad?x=1&y=2#top", true},
        {"HTTPS://qinghe.example/", true},
        {"http://", false},
        {"ftp://qinghe.example/", false},
        {"file:///etc/passwd", false},
        {"javascript:alert(1)", false},
        {"http://a.example/\" --evil \"", false},
        {"http://a.example/'x'", false},
        {"http://a.example/a b", false},
        {"http://a.example/\tx", false},
        {"http://a.example/\nx", false},
        {"http://a.example/青禾", false},
        {"", false},
        {"http://a.example/" + Text(kMaxBannerTarget - 17, 'a'), true},
        {"http://a.example/" + Text(kMaxBannerTarget - 16, 'a'), false},
    };
    for (const auto& [target, allowed] : cases) EXPECT_EQ(IsBannerTarget(target), allowed) << target;
}

}  // namespace
}  // namespace qh
