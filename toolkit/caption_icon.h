// The icon at the left of every window's caption: the program's 16 x 16
// icon. It is the window's menu owner: a right-click on it opens the
// window's system menu (the window does that, see UiWindow).
#pragma once

#include "toolkit/control.h"
#include "toolkit/image.h"

namespace qh {

// The bytes of the programs' icon file, built into the toolkit from
// resources/windows/qinghe.ico, which the Windows programs also carry as
// their icon resource 129; every host draws the same caption icon from it.
Bytes ProgramIconFile();

// Where the icon sits: centred in the 25-pixel caption strip, 5 pixels from
// the left edge. The caption's title starts after it.
inline constexpr float kCaptionIconLeft = 5.0f;
inline constexpr float kCaptionIconTop = 4.0f;
inline constexpr float kCaptionIconSize = 16.0f;
inline constexpr float kCaptionTitleAfterIcon = kCaptionIconLeft + kCaptionIconSize + 5.0f;

class UiCaptionIcon : public UiControl {
public:
    UiCaptionIcon();
    ControlTraits Traits() const override { return {.captionLayer = true}; }
    const UiImage& Image() const { return image_; }

protected:
    void Paint(UiWindow& window, Graphics& g, int state) override;

private:
    UiImage image_;
};

}  // namespace qh
