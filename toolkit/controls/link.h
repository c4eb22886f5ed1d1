// UiLink (kind 5): an underlined text with the hand cursor. A click opens its
// address through the program's open-URL service (Toolkit().openUrl), and
// the window raises the click event.
#pragma once

#include "toolkit/controls/text_control.h"

namespace qh {

class UiLink : public UiTextControl {
public:
    void Create(HostHandle hwnd, const qh::Text& text, const qh::Text& url, float left, float top, float width,
                float height, Argb textColor = 0, const FontChoice& font = {}, bool visible = true);
    qh::Text Url(const qh::Text& url = qh::Text(), bool set = false);

    ControlTraits Traits() const override { return {.focusRing = true, .role = AccRole::kLink}; }

protected:
    void Paint(UiWindow& window, Graphics& g, int state) override;
    bool Click(UiWindow& window) override;

private:
    qh::Text url_;
};

}  // namespace qh
