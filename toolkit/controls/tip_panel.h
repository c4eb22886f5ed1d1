// UiTipPanel (kind 1025): a callout with a few lines of explanation, shown
// beside a small icon while the mouse is over it. It is hidden at creation;
// the application moves it to the top (SetZOrder), places it, sets its text
// and shows it (Visible 1), and it fades in over a few timer ticks. It takes
// no mouse press and no focus.
#pragma once

#include "toolkit/controls/text_control.h"
#include "toolkit/text_lines.h"

namespace qh {

// Frame variants of a tip panel (Style).
enum TipPanelStyle : int {
    kTipPlain = 0,      // a rounded panel without a pointer
    kTipPointUp = 2,    // pointer on the top edge: the panel hangs below its icon
    kTipPointDown = 3,  // pointer on the bottom edge: the panel stands above an icon low in the window
};

class UiTipPanel : public UiControl {
public:
    ~UiTipPanel() override;
    void Create(HostHandle hwnd, float left, float top, float width, float height, int style = kTipPointUp,
                Argb textColor = MakeArgb(0x000000, 220), const FontChoice& font = {});
    // The frame variant (TipPanelStyle; other values draw the plain frame).
    // Setting it does not repaint: the panel is set up while hidden.
    int Style(int value = 0, bool set = false);
    // The explanation, lines separated by CR LF; long lines wrap. Setting it
    // does not repaint.
    qh::Text Text(const qh::Text& text = qh::Text(), bool set = false);
    // Where the tip of the pointer is, from the panel's left edge (by
    // default a little way in from the left, over the icon).
    int PointerOffset(int value = 0, bool set = false);
    // For scripts: the explanation.
    ControlSnapshot Snapshot() const override;
    // How far the fade-in has come: 0-255, 255 when fully shown.
    int Opacity() const { return opacity_; }
    // The explanation's lines as the panel draws them, every one whole.
    TextLines TextLayout(Graphics& g) const;
    // Where the text stands: the panel's body inside its padding.
    RectF TextBody() const;

    ControlTraits Traits() const override { return {.role = AccRole::kStaticText}; }

protected:
    std::intptr_t ControlProc(UiWindow& window, int message, std::intptr_t wParam, std::intptr_t lParam) override;
    void Paint(UiWindow& window, Graphics& g, int state) override;
    bool Tick(UiWindow& window) override;

private:
    void StopFade(UiWindow& window);

    qh::Text text_;
    UiFont font_;
    Argb textColor_ = 0;
    int style_ = kTipPointUp;
    int pointerOffset_ = 20;
    int opacity_ = 0;
    bool fading_ = false;
};

}  // namespace qh
