#include "toolkit/message_box.h"

#include <memory>
#include <vector>

#include "toolkit/controls/button.h"
#include "toolkit/controls/label.h"
#include "toolkit/draw.h"
#include "toolkit/messages.h"
#include "toolkit/style_painter.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"

namespace qh {
namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 150;
constexpr int kAlpha = 170;
constexpr std::uint32_t kStyleBorder = 0x800000;
constexpr std::uint32_t kExAppWindow = 0x40000;
constexpr std::uint32_t kExTopmost = 0x8;
constexpr Argb kWindowColor = 0xFF8800;
// The parts of a kind: its buttons, and its icon.
constexpr int kButtonBits = 0x0F;
constexpr int kIconBits = 0xF0;

// The buttons a kind of box has, left to right: caption and answer.
struct BoxButton {
    const char* caption;
    int answer;
};
constexpr BoxButton kOkButtons[] = {{"确认", kAnswerConfirm}};
constexpr BoxButton kOkCancelButtons[] = {{"确认", kAnswerConfirm}, {"取消", kAnswerCancel}};

// The icon's badge colour and glyph for an icon kind; no badge for 0.
struct BoxIcon {
    int kind;
    Argb top, bottom;
    const char* glyph;
};
constexpr BoxIcon kIcons[] = {
    {kBoxIconError, 0xFFE0504A, 0xFFB8322C, "×"},
    {kBoxIconQuestion, 0xFF3C9BE0, 0xFF2270B8, "?"},
    {kBoxIconWarning, 0xFFF2B53C, 0xFFD08A14, "!"},
    {kBoxIconInformation, 0xFF3CB48C, 0xFF218A68, "i"},
};

const BoxIcon* IconOf(int kind) {
    for (const BoxIcon& icon : kIcons) {
        if (icon.kind == (kind & kIconBits)) return &icon;
    }
    return nullptr;
}

// A round badge with the glyph in white, left of the message.
void PaintIcon(Graphics& g, const BoxIcon& icon) {
    // A darker rim shows at the bottom, under the lighter face.
    const RectF badge = MakeRect(34, 40, 36, 36);
    g.FillPath(RoundRectPath(badge, badge.width), icon.bottom);
    g.FillPath(RoundRectPath(MakeRect(35, 41, 34, 33), 34), icon.top);
    UiFont font = Toolkit().defaultFont;
    font.size = 22;
    font.style = kBold;
    DrawText(g, icon.glyph, font, 0xFFFFFFFF, badge, 4);
}

UiWindow* WindowOf(HostHandle handle) {
    for (UiWindow* w : Toolkit().windows) {
        if (w != nullptr && w->Handle() == handle) return w;
    }
    return nullptr;
}

}  // namespace

RectF MessageBoxTextRect(bool withIcon) {
    return withIcon ? MakeRect(85, 43, 200, 50) : MakeRect(30, 43, 260, 50);
}

int ShowMessageBox(Platform& platform, HostHandle owner, const Text& text, const Text& title, int kind) {
    Host& host = platform.WindowHost();
    const RectI screen = host.ScreenRect();
    HostWindowArgs args;
    args.title = title.empty() ? Text(kDefaultBoxTitle) : title;
    args.rect = RectI{(screen.width - kWidth) / 2, (screen.height - kHeight) / 2, kWidth, kHeight};
    args.style = kStylePopup | kStyleBorder | kStyleSysMenu;
    args.exStyle = kExAppWindow | kExTopmost;
    args.owner = owner;
    const HostHandle h = host.CreateHostWindow(args);
    if (h == 0) return kAnswerCancel;

    int answer = kAnswerCancel;
    const BoxIcon* icon = IconOf(kind);
    UiWindow box;
    box.OnPaint([icon](HostHandle, Graphics& g, int, int width, int height) {
        PaintDialogBands(g, float(width), float(height), 6);
        if (icon != nullptr) PaintIcon(g, *icon);
        return 0;
    });
    if (!box.Create(h, Bytes(), kWindowColor, true, 2 | kFlagCloseButton)) {
        host.DestroyWindow(h);
        return kAnswerCancel;
    }
    box.SetAlpha(kAlpha);

    UiLabel message;
    const RectF at = MessageBoxTextRect(icon != nullptr);
    message.Create(h, text, at.left, at.top, at.width, at.height, MakeArgb(0x000000, 210), {}, 0, 3);
    message.Name("BoxText", true);

    // The buttons stand right-aligned, the last one 83 px from the right.
    const bool okCancel = (kind & kButtonBits) == kBoxOkCancel;
    const BoxButton* buttons = okCancel ? kOkCancelButtons : kOkButtons;
    const int count = okCancel ? 2 : 1;
    std::vector<std::unique_ptr<UiButton>> controls;
    for (int i = 0; i < count; ++i) {
        auto button = std::make_unique<UiButton>();
        const float x = float(kWidth - 83 - 75 * (count - 1 - i));
        button->Create(h, buttons[i].caption, x, kHeight - 36, 70, 24);
        button->UserText(std::to_string(buttons[i].answer), true);
        button->Name(std::string("BoxButton") + std::to_string(i + 1), true);
        const int value = buttons[i].answer;
        button->HookMessage(msg::kClick, [&answer, &host, h, value](int, int, std::intptr_t, std::intptr_t, bool) {
            answer = value;
            host.PostMessage(h, msg::kClose, 0, 0);
        });
        controls.push_back(std::move(button));
    }
    box.OnKeyDown([&answer, &host, h](HostHandle, int, int vk, std::intptr_t) -> int {
        if (vk != vk::kEscape) return -1;
        answer = kAnswerCancel;
        host.PostMessage(h, msg::kClose, 0, 0);
        return 0;
    });

    UiWindow* ownerWindow = WindowOf(owner);
    if (ownerWindow != nullptr) ownerWindow->SetInputEnabled(false);
    box.Show(0);
    // The box calls attention to itself with the alert sound of its icon.
    host.Beep(kind & kIconBits);
    box.FocusControl(controls.front()->Id());
    platform.RunModalLoop(h);
    // The loop also ends when the program is asked to end: the box goes too.
    if (box.Handle() != 0) host.DestroyWindow(h);
    if (ownerWindow != nullptr) {
        ownerWindow->SetInputEnabled(true);
        host.BringToFront(owner);
    }
    return answer;
}

}  // namespace qh
