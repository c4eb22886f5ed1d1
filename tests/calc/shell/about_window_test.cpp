// The about window in the headless host: where it stands, that it exists at
// most once, what it says and how 确认 closes it.
#include <gtest/gtest.h>

#include <memory>

#include "calc/shell/about_window.h"
#include "calc/shell/main_window.h"
#include "calc/shell/version_text.h"
#include "runtime/product_version.h"
#include "tests/support/test_platform.h"
#include "tests/toolkit/test_backend.h"
#include "toolkit/toolkit.h"

namespace qh {
namespace {

constexpr RectI kScreen{0, 0, 1280, 800};

TEST(AboutWindowPlace, CentredOnTheMainWindow) {
    // 600 x 440 at (340, 180): the centres agree, truncated toward zero.
    const RectI r = AboutWindow::PlaceOn(RectI{340, 180, 600, 440}, kScreen);
    EXPECT_EQ(r.left, 445);
    EXPECT_EQ(r.top, 267);
    EXPECT_EQ(r.width, 390);
    EXPECT_EQ(r.height, 265);
    // An odd difference: (605 - 390) / 2 = 107.5 lands on 107 past the left.
    EXPECT_EQ(AboutWindow::PlaceOn(RectI{101, 100, 605, 441}, kScreen).left, 101 + 107);
}

TEST(AboutWindowPlace, KeptOnTheScreenAtEveryEdge) {
    // The main window partly off the left and the top edge.
    const RectI topLeft = AboutWindow::PlaceOn(RectI{-500, -400, 600, 440}, kScreen);
    EXPECT_EQ(topLeft.left, 0);
    EXPECT_EQ(topLeft.top, 0);
    // Partly off the right and the bottom edge.
    const RectI bottomRight = AboutWindow::PlaceOn(RectI{1100, 700, 600, 440}, kScreen);
    EXPECT_EQ(bottomRight.left, 1280 - 390);
    EXPECT_EQ(bottomRight.top, 800 - 265);
    // Exactly at the edge stays where it is.
    EXPECT_EQ(AboutWindow::PlaceOn(RectI{1280 - 390 - 105, 100, 600, 440}, kScreen).left, 1280 - 390);
}

class AboutWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ToolkitStartup(platform.host, *graphics);
        main = std::make_unique<MainWindow>(platform, MainWindowServices{});
        ASSERT_TRUE(main->Build());
        about = std::make_unique<AboutWindow>(main->Controls().hwnd, "http://www.example.cn");
    }
    void TearDown() override {
        about.reset();
        main.reset();
        ToolkitShutdown();
    }

    int OpenAboutWindows() { return platform.host.NotifyWindows("Ex_DirectUI", "关于青禾...", 0); }

    std::unique_ptr<GraphicsDriver> graphics = MakeTestGraphicsDriver();
    TestPlatform platform{*graphics};
    std::unique_ptr<MainWindow> main;
    std::unique_ptr<AboutWindow> about;
};

TEST_F(AboutWindowTest, OpeningItTwiceActivatesTheFirstWindow) {
    about->Show();
    ASSERT_TRUE(about->Exists());
    const HostHandle first = about->Handle();
    platform.host.SetFocus(main->Controls().hwnd);
    about->Show();
    EXPECT_EQ(about->Handle(), first);
    EXPECT_EQ(OpenAboutWindows(), 1);
    EXPECT_TRUE(platform.host.IsActive(first));
}

TEST_F(AboutWindowTest, ItShowsTheVersionAndTheSiteLink) {
    SetVersionText("1.0.0.506");
    about->Show();
    const Text text = about->AboutText().Text();
    // A development build says so after the version.
    EXPECT_EQ(text.rfind("青禾计算器(1.0.0.506" + Text(kBuildMark) + ")\r\n\r\n", 0), 0u) << text;
    EXPECT_EQ(about->AboutLink().Text(), "http://www.example.cn");
    EXPECT_EQ(about->AboutLink().Url(), "http://www.example.cn/?ref=rodode");
    SetVersionText("");
}

TEST_F(AboutWindowTest, ConfirmClosesItAndTheNextOpeningMakesItAnew) {
    about->Show();
    const RectF ok = about->AboutOkButton().Bounds();
    platform.host.Click(about->Handle(), int(ok.left + ok.width / 2), int(ok.top + ok.height / 2));
    // The click posts the close; the window shrinks away, then is gone.
    platform.host.ProcessPending();
    platform.host.AdvanceClock(2000);
    platform.host.ProcessPending();
    EXPECT_FALSE(about->Exists());
    EXPECT_EQ(OpenAboutWindows(), 0);
    // The main window is still there.
    EXPECT_TRUE(platform.quitCodes.empty());

    about->Show();
    EXPECT_TRUE(about->Exists());
    EXPECT_EQ(OpenAboutWindows(), 1);
    EXPECT_EQ(about->AboutOkButton().Text(), "确认");
}

}  // namespace
}  // namespace qh
