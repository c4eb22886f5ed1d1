// UiPicture (kind 4): an image in its bounds. With the hand cursor it serves
// as an image link (the program opens its site from its click event). An
// image larger than the bounds is scaled down to fit, keeping its shape; a
// smaller one is centred at its own size.
#pragma once

#include "toolkit/control.h"
#include "toolkit/image.h"

namespace qh {

class UiPicture : public UiControl {
public:
    // False when imageBytes are given but are not an image; the control is
    // created either way.
    bool Create(HostHandle hwnd, float left, float top, float width, float height, const Bytes& imageBytes,
                int cursor = kCursorArrow, bool visible = true);
    // Replaces the image and repaints; false when the bytes are not an image.
    bool Image(const Bytes& imageBytes);
    // Shows an image the program made itself, and repaints.
    void Image(UiImage image);
    const UiImage& Picture() const { return image_; }

    // With the hand cursor it is a picture button, named by its tooltip.
    ControlTraits Traits() const override {
        return {.focusRing = true,
                .role = cursor_ == kCursorHand ? AccRole::kPushButton : AccRole::kGraphic,
                .nameFrom = AccNameFrom::kToolTip};
    }

protected:
    void Paint(UiWindow& window, Graphics& g, int state) override;

private:
    UiImage image_;
};

}  // namespace qh
