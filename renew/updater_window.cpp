#include "renew/updater_window.h"

#include "renew/installer.h"
#include "runtime/browser.h"
#include "runtime/convert.h"
#include "runtime/http.h"
#include "runtime/product_version.h"
#include "toolkit/draw.h"
#include "toolkit/message_box.h"
#include "toolkit/messages.h"
#include "toolkit/style_painter.h"
#include "toolkit/toolkit.h"

namespace qh {
namespace {

constexpr int kWidth = 500;
constexpr int kHeight = 350;
constexpr int kAlpha = 190;
constexpr Argb kWindowColor = 0xFF8800;
constexpr int kFlags = 2 | kFlagCloseButton | kFlagMinimize;
constexpr std::uint32_t kExAppWindow = 0x40000;
constexpr std::uint32_t kStyleClipSiblings = 0x4000000;
constexpr int kQuitRequest = 1024;
// How often the calculator's windows are asked again while they go.
constexpr int kQuitPollMs = 10;
constexpr char kCalculatorTitle[] = "青禾计算器";
constexpr char kConfirmQuit[] = "确认退出更新吗?";

// The banner's three resources on the update server: its picture, the
// address it opens and its tool tip.
constexpr char kBannerImage[] = "renew_ad.png";
constexpr char kBannerTarget[] = "renew_ad.txt";
constexpr char kBannerTips[] = "renew_ad.tips";

// A colour given as red, green, blue and alpha; 255 is taken as 254, as the
// programs have always drawn it.
constexpr Argb Rgba(int r, int g, int b, int a) {
    return (static_cast<Argb>(a == 255 ? 254 : a) << 24) | (static_cast<Argb>(r) << 16) |
           (static_cast<Argb>(g) << 8) | static_cast<Argb>(b);
}

}  // namespace

bool QuitCalculators(Host& host) {
    for (int waited = 0;; waited += kQuitPollMs) {
        if (host.NotifyWindows("Ex_DirectUI", kCalculatorTitle, kQuitRequest) == 0) return true;
        if (waited >= kCalculatorQuitWaitMs) return false;
        host.Sleep(kQuitPollMs);
    }
}

UpdaterWindow::UpdaterWindow(Platform& platform, UpdaterState& state) : platform_(platform), state_(state) {}

UpdaterWindow::~UpdaterWindow() {
    state_.stopping = true;
    // A worker may be waiting for the window's thread: with the window gone,
    // its calls return at once.
    if (c_.hwnd != 0 && c_.window.Handle() != 0) TheHost().DestroyWindow(c_.hwnd);
    for (std::thread& worker : workers_) {
        if (worker.joinable()) worker.join();
    }
}

bool UpdaterWindow::Build() {
    Host& host = platform_.WindowHost();
    const RectI screen = host.ScreenRect();
    HostWindowArgs args;
    args.title = kUpdaterWindowTitle;
    args.rect = RectI{screen.width / 2 - kWidth / 2, screen.height / 2 - kHeight / 2, kWidth, kHeight};
    args.style = kStylePopup | kStyleSysMenu | kStyleMinimizeBox | kStyleClipSiblings | kStyleClipChildren;
    args.exStyle = kExAppWindow;
    c_.hwnd = host.CreateHostWindow(args);
    if (c_.hwnd == 0) return false;
    // The painter is bound first: the window draws its background once, as
    // it is bound.
    c_.window.OnPaint([this](HostHandle, Graphics& g, int, int width, int height) { return Paint(g, width, height); });
    // The caption says what kind of build this is; the title stays the name
    // the calculator and the setup program find the window by.
    c_.window.SetCaptionText(Text(kUpdaterWindowTitle) + kBuildMark);
    if (!c_.window.Create(c_.hwnd, Bytes(), kWindowColor, true, kFlags)) return false;
    c_.window.SetAlpha(kAlpha);
    c_.window.OnControlEvent([this](HostHandle, int id, int, int) { return OnControlEvent(id); });
    CreateControls();
    c_.window.OnMessage([this](HostHandle, int message, std::intptr_t, std::intptr_t) { return OnMessage(message); });
    if (state_.interactive) c_.window.Show(0);
    StartStage(&UpdateStages::CheckVersion);
    return true;
}

void UpdaterWindow::CreateControls() {
    const HostHandle h = c_.hwnd;
    c_.cancelButton.Create(h, "取消", kWidth - 85, kHeight - 35, 70, 24);
    c_.cancelButton.Name("CancelButton", true);
    c_.mainButton.Create(h, "获取更新..", kWidth - 165, kHeight - 35, 70, 24);
    c_.mainButton.UserText(kStageVersion, true);
    c_.mainButton.Name("MainButton", true);
    c_.banner.Create(h, 15, 40, 120, 260, Bytes(), kCursorHand);
    c_.banner.Name("Banner", true);
    LoadBanner();
    c_.statusLabel.Create(h, "查询中...", 148, 46, 330, 20, Rgba(0, 128, 0, 200));
    c_.statusLabel.Name("StatusLabel", true);
    c_.notes.Create(h, "正在获取...", 148, 70, 330, 225, Rgba(0, 0, 0, 210), {}, 0, 0);
    c_.notes.Name("Notes", true);
    ListViewLook look;
    look.style = kListStripes | kListRowLines;
    // A size at which "下载完毕" fits the 60 px progress column with both
    // graphics backends' text layout.
    look.font.size = 11;
    c_.downloadList.Create(h, 148, 70, 330, 225, look, false);
    c_.downloadList.InsertColumn(0, "文件名", 200);
    c_.downloadList.InsertColumn(0, "大小(M)", 60, 1);
    c_.downloadList.InsertColumn(0, "进度", 60, 1);
    c_.downloadList.InsertColumn(0, "hash", 0);
    c_.downloadList.Name("DownloadList", true);
    c_.startCheck.Create(h, "启动 青禾计算器", 200, 150, 150, 24, state_.interactive);
    c_.startCheck.Visible(0, true);
    c_.startCheck.Name("StartCheck", true);
    c_.siteCheck.Create(h, "访问 青禾计算器 官网", 200, 180, 150, 24, state_.interactive);
    c_.siteCheck.Visible(0, true);
    c_.siteCheck.Name("SiteCheck", true);
    c_.siteLink.Create(h, "官方网站", state_.siteUrl + "/?ref=rodode", 17, kHeight - 33, 60, 24,
                       Rgba(0, 96, 192, 220));
    c_.siteLink.Name("SiteLink", true);
}

void UpdaterWindow::LoadBanner() {
    // Each resource alone may be missing; what is missing stays empty.
    HttpOptions options;
    options.cancel = &state_.stopping;
    c_.banner.Image(HttpRequest(state_.updateUrl + kBannerImage, options));
    c_.banner.UserText(ToText(HttpRequest(state_.updateUrl + kBannerTarget, options)), true);
    c_.banner.ToolTip(ToText(HttpRequest(state_.updateUrl + kBannerTips, options)), true);
}

int UpdaterWindow::Paint(Graphics& g, int width, int height) {
    const float w = float(width), h = float(height);
    PaintDialogBands(g, w, h, 7);
    // The frame around the status, the notes and the list.
    DrawRoundRect(g, MakeRect(140, 40, w - 155, h - 90), 5, Rgba(96, 96, 96, 100));
    return 0;
}

void UpdaterWindow::StartStage(void (UpdateStages::*stage)()) {
    workers_.emplace_back([this, stage] { (stages_.*stage)(); });
}

int UpdaterWindow::OnControlEvent(int id) {
    if (id == c_.mainButton.Id()) {
        if (c_.mainButton.Text() == "确定") {
            TheHost().PostMessage(c_.hwnd, msg::kClose, 0, 0);
            return 0;
        }
        const Text stage = c_.mainButton.UserText();
        if (stage == kStageVersion) StartStage(&UpdateStages::CheckVersion);
        if (stage == kStageFileList) StartStage(&UpdateStages::FetchFileList);
        if (stage == kStageDownload) StartStage(&UpdateStages::DownloadFiles);
    } else if (id == c_.cancelButton.Id()) {
        if (c_.cancelButton.Text() == "完成") {
            Finish();
        } else {
            TheHost().PostMessage(c_.hwnd, msg::kClose, 0, 0);
        }
    } else if (id == c_.banner.Id()) {
        const Text target = c_.banner.UserText();
        if (!target.empty() && Toolkit().openUrl) Toolkit().openUrl(target);
    }
    return 0;
}

void UpdaterWindow::Finish() {
    state_.closeWithoutAsking = true;
    InstallRequest request;
    request.quitCalculator = [this] { return QuitCalculators(platform_.WindowHost()); };
    request.publicKey = state_.publicKey;
    const InstallResult result = InstallUpdate(request);
    if (result.outcome == InstallOutcome::kNothingWaiting) return;
    if (result.outcome == InstallOutcome::kFailed) {
        // The window stays, with the finish button, so the user can close
        // what holds a file and try again; the staged files wait meanwhile.
        // The notes area wraps the text, which the one-line status cannot.
        c_.notes.Text(InstallFailedStatus(result), true);
        c_.notes.Visible(1, true);
        return;
    }
    if (c_.startCheck.Checked() != 0) RelaunchCalculator(state_.calculatorFile);
    if (c_.siteCheck.Checked() != 0 && Toolkit().openUrl) Toolkit().openUrl(state_.siteUrl);
    TheHost().PostMessage(c_.hwnd, msg::kClose, 0, 0);
}

std::intptr_t UpdaterWindow::OnMessage(int message) {
    if (message == msg::kDestroy || message == kQuitRequest) {
        state_.stopping = true;
        platform_.QuitMessageLoop(0);
        return -1;
    }
    if (message == msg::kClose && !state_.closeWithoutAsking && state_.interactive) {
        const int answer = ShowMessageBox(platform_, c_.hwnd, kConfirmQuit, Text(), kBoxOkCancel | kBoxIconQuestion);
        if (answer != kAnswerConfirm) return 0;
    }
    return -1;
}

}  // namespace qh
