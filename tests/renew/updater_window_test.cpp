// The updater window in the headless host: how it ends. Message 1024 and a
// close in automatic mode end it without asking; in interactive mode a close
// asks first, with a beep (the answers are driven through uidriver in
// renew_uidriver_test.sh). An install that fails keeps it open, and a
// calculator that never quits does not keep it waiting.
#include <gtest/gtest.h>

#include "calc/shell/updater_handoff.h"
#include "renew/banner_content.h"
#include "renew/file_names.h"
#include "renew/state_file.h"
#include "renew/updater_window.h"
#include "runtime/files.h"
#include "runtime/product_version.h"
#include "runtime/system.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_platform.h"
#include "tests/toolkit/test_backend.h"
#include "toolkit/message_box.h"
#include "toolkit/messages.h"
#include "toolkit/toolkit.h"
#include "tools/uidriver/driver_system.h"

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

TEST_F(UpdaterWindowTest, ADevelopmentBuildSaysSoInItsCaptionWhileTheCalculatorStillFindsIt) {
    Build(false);
    // The calculator's finder and the window agree on the title.
    EXPECT_EQ(Text(kUpdaterTitle), kUpdaterWindowTitle);
    EXPECT_EQ(platform.host.Title(Handle()), kUpdaterTitle);
    EXPECT_EQ(window->Controls().window.CaptionText(), Text(kUpdaterTitle) + kBuildMark);
    EXPECT_EQ(platform.host.NotifyWindows("Ex_DirectUI", kUpdaterTitle, 0), 1);
}

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

// The confirmation box never beeped: it asks for the question's alert
// sound once as it opens. Closing the box answers 取消, so the updater stays.
TEST_F(UpdaterWindowTest, TheConfirmationBoxBeepsOnceAsItOpens) {
    Build(true);
    std::vector<int> beepsWhileOpen;
    platform.answerModal = [this, &beepsWhileOpen](HostHandle box) {
        beepsWhileOpen = platform.host.Beeps();
        platform.host.Send(box, msg::kClose);
    };
    platform.host.Send(Handle(), msg::kClose);
    EXPECT_EQ(beepsWhileOpen, std::vector<int>{kBoxIconQuestion});
    EXPECT_EQ(platform.host.Beeps().size(), 1u);
    EXPECT_TRUE(platform.host.Exists(Handle()));
}

TEST_F(UpdaterWindowTest, QuitCalculatorsGivesUpOnACalculatorThatNeverQuits) {
    // A calculator window whose thread never answers: the message stays
    // queued and the window stays.
    HostWindowArgs args;
    args.title = "青禾计算器";
    args.rect = RectI{0, 0, 100, 100};
    const HostHandle stuck = platform.host.CreateHostWindow(args);
    const long long before = platform.host.Now();
    EXPECT_FALSE(QuitCalculators(platform.host));
    EXPECT_GE(platform.host.Now() - before, kCalculatorQuitWaitMs);
    platform.host.DestroyWindow(stuck);
    EXPECT_TRUE(QuitCalculators(platform.host));
}

TEST_F(UpdaterWindowTest, AnInstallThatFailsKeepsTheWindowOpenAndSaysWhy) {
    test::TempFolder program;
    DriverSystem system{PlatformSystem(), program.Folder(), "renew", [](const std::string&) {}};
    OverrideSystemServices(&system);
    // A state file without the list its files are checked against.
    CreateFolders(ProgramFile(kStateFileName));
    ASSERT_TRUE(SaveStateFile(ProgramFile(kStateFileName), {}, "1.0.0.506"));
    Build(true);
    UpdaterControls& c = window->Controls();
    ASSERT_TRUE(platform.host.PumpUntil([&] { return c.mainButton.Text() == "重新获取"; }));
    // The download stage's end: the cancel button has become the finish button.
    c.notes.Visible(0, true);
    c.cancelButton.Text("完成", true);
    platform.host.Click(Handle(), 450, 327);

    EXPECT_EQ(c.notes.Text().rfind("更新未能完成: ", 0), 0u);
    EXPECT_EQ(c.notes.Visible(), 1);
    EXPECT_TRUE(platform.host.Exists(Handle()));
    EXPECT_EQ(c.cancelButton.Text(), "完成");
    EXPECT_TRUE(FileExists(ProgramFile(kStateFileName)));
    window.reset();
    OverrideSystemServices(nullptr);
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
