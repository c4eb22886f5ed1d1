// UiSideButton (kind 1029): one entry of a side menu, a small picture left
// of its text (120 x 28 in the calculator). At most one side button of a
// window is selected: selecting one deselects the one selected before. The
// window raises OnControlEvent when it is clicked; the application then
// switches pages and sets Selected.
#pragma once

#include "toolkit/controls/text_control.h"
#include "toolkit/image.h"
#include "toolkit/style_painter.h"

namespace qh {

class UiSideButton : public UiTextControl {
public:
    // image: PNG, JPEG or GIF bytes; empty for an entry with only a text.
    // colors: its faces and texts in each look.
    void Create(HostHandle hwnd, float left, float top, float width, float height, const Bytes& image,
                const qh::Text& text, const SideButtonColors& colors = DefaultSideButtonColors(),
                const FontChoice& font = {}, bool visible = true);
    // Replaces the picture (bytes that are no image leave none) and repaints.
    // Returns whether the button has a picture.
    bool Image(const Bytes& bytes = Bytes(), bool set = false);
    // Non-zero when selected. Setting a non-zero value makes this the
    // selected side button of its window: the one selected before is
    // deselected and repainted. Setting 0 deselects this one.
    int Selected(int value = 0, bool set = false);
    // For scripts: the text, and whether the entry is selected.
    ControlSnapshot Snapshot() const override;
    const UiImage& Picture() const { return image_; }

    ControlTraits Traits() const override { return {.role = AccRole::kPageTab}; }

protected:
    void Paint(UiWindow& window, Graphics& g, int state) override;

private:
    // Sets the flag and repaints on a change (on the window's thread).
    void SetSelected(bool selected);

    UiImage image_;
    bool selected_ = false;
    // Set once at creation; colors_.text is also the control's TextColor.
    SideButtonColors colors_ = DefaultSideButtonColors();
};

}  // namespace qh
