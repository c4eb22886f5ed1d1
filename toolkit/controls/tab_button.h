// UiTabButton (kind 7): one button of a row of tabs, its picture above its
// text (70 x 60 in the calculator). The window raises OnControlEvent when it
// is clicked; the application then switches pages and sets Selected, which
// gives the tab its raised, selected look.
#pragma once

#include "toolkit/controls/text_control.h"
#include "toolkit/image.h"

namespace qh {

class UiTabButton : public UiTextControl {
public:
    // image: PNG, JPEG or GIF bytes; empty for a tab with only a text.
    void Create(HostHandle hwnd, float left, float top, float width, float height, const Bytes& image,
                const qh::Text& text, Argb textColor = MakeArgb(0x000000, 210), const FontChoice& font = {},
                bool visible = true);
    // Non-zero when selected; setting a different value repaints.
    int Selected(int value = 0, bool set = false);
    // For scripts: the text, and whether the tab is selected.
    ControlSnapshot Snapshot() const override;
    const UiImage& Picture() const { return image_; }

    ControlTraits Traits() const override { return {.role = AccRole::kPageTab}; }

protected:
    void Paint(UiWindow& window, Graphics& g, int state) override;

private:
    UiImage image_;
    int selected_ = 0;
};

}  // namespace qh
