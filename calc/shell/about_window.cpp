#include "calc/shell/about_window.h"

#include "calc/shell/calc_images.h"
#include "calc/shell/version_text.h"
#include "renew/site_settings.h"
#include "runtime/product_version.h"
#include "toolkit/draw.h"
#include "toolkit/messages.h"
#include "toolkit/style_painter.h"
#include "toolkit/toolkit.h"

namespace qh {
namespace {

constexpr const char* kTitle = "关于青禾...";
constexpr int kWidth = 390;
constexpr int kHeight = 265;
constexpr int kAlpha = 160;
constexpr int kZoomOut = 2;
constexpr std::uint32_t kExAppWindow = 0x40000;
constexpr std::uint32_t kStyleBorder = 0x800000;

// The two notice lines under the version.
constexpr const char* kNotice =
    "计算结果仅供参考，实际以贷款银行及当地主管部门核算为准。\r\n\r\n"
    "Copyright (C) 2026 青禾软件  保留所有权利";
// The text's five lines fit its 75 px whatever the font's line height.
constexpr float kLinePitch = 14;
// The edition line, under the link and left of 确认.
constexpr int kEditionLeft = 25;
constexpr int kEditionTop = 218;
constexpr int kEditionWidth = 270;
constexpr int kEditionHeight = 16;

int Paint(Graphics& g, int width, int height) {
    PaintDialogBands(g, float(width), float(height), 6);
    return 0;
}

}  // namespace

RectI AboutWindow::PlaceOn(const RectI& m, const RectI& screen) {
    double x = m.left - (kWidth - m.width) / 2.0;
    double y = m.top + (m.height - kHeight) / 2.0;
    RectI r{static_cast<int>(x), static_cast<int>(y), kWidth, kHeight};
    if (r.left < 0) r.left = 0;
    if (r.top < 0) r.top = 0;
    if (r.left + kWidth - screen.width > 0.0000001) r.left = screen.width - kWidth;
    if (r.top + kHeight - screen.height > 0.0000001) r.top = screen.height - kHeight;
    return r;
}

void AboutWindow::Show() {
    Host& host = TheHost();
    if (Exists()) {
        host.BringToFront(hwnd_);
        return;
    }
    HostWindowArgs args;
    args.title = kTitle;
    args.rect = PlaceOn(host.WindowRect(main_), host.ScreenRect());
    args.style = kStylePopup | kStyleBorder;  // a popup window without the system menu
    args.exStyle = kExAppWindow;
    args.owner = main_;
    const HostHandle h = host.CreateHostWindow(args);
    if (h == 0) return;
    window_.OnPaint([](HostHandle, Graphics& g, int, int width, int height) { return Paint(g, width, height); });
    if (!window_.Create(h, CalcImageBytes(CalcImage::Skin), 0, false, 2 | kFlagCloseButton)) {
        host.DestroyWindow(h);
        return;
    }
    hwnd_ = h;
    window_.SetAlpha(kAlpha);
    window_.OnMessage([this](HostHandle, int message, std::intptr_t, std::intptr_t) -> std::intptr_t {
        if (message == msg::kDestroy) hwnd_ = 0;
        return -1;
    });

    logo_.Create(h, 7, 30, kWidth - 14, 70, CalcImageBytes(CalcImage::AboutLogo));
    logo_.Name("AboutLogo", true);
    text_.Create(h, "青禾计算器(" + VersionText() + kBuildMark + ")\r\n\r\n" + kNotice, 25, 113, 370, 75,
                 MakeArgb(0x000000, 220), {}, 0, 0);
    text_.LinePitch(kLinePitch, true);
    text_.Name("AboutText", true);
    link_.Create(h, siteUrl_, SiteHomeAddress(siteUrl_), 25, 195, 160, 20, MakeArgb(0xC06000, 210));
    link_.Name("AboutLink", true);
    if (!rulesEdition_.empty()) {
        edition_.Create(h, "利率与税费依据: " + rulesEdition_ + " 版", kEditionLeft, kEditionTop, kEditionWidth,
                        kEditionHeight, MakeArgb(0x000000, 200), {}, 0, 0);
        edition_.Name("AboutRulesEdition", true);
    }
    ok_.Create(h, "确认", kWidth - 82, kHeight - 35, 70, 24);
    ok_.Name("AboutOkButton", true);
    ok_.HookMessage(msg::kClick, [this](int, int, std::intptr_t, std::intptr_t, bool) {
        if (hwnd_ != 0) TheHost().PostMessage(hwnd_, msg::kClose, 0, 0);
    });
    // Escape closes the window as 确认 does, and so does Enter while no
    // control has the focus (确认 is the window's default button).
    window_.OnShortcut([this](const ShortcutKey& key) {
        const bool enterForOk = key.vk == vk::kEnter && window_.FocusedControl() == 0;
        if (key.vk != vk::kEscape && !enterForOk) return false;
        if (hwnd_ != 0) TheHost().PostMessage(hwnd_, msg::kClose, 0, 0);
        return true;
    });
    window_.SetCloseAnimation(kZoomOut);
    window_.Show(0);
}

}  // namespace qh
