// The about window "关于青禾...": the product's logo, its version, two
// notice lines, a link to the maker's site, the edition of the rates and
// taxes in force when a rules document is, and 确认. It is centred on the
// main window and kept on the screen; opening it again brings the open one
// to the front instead of making a second.
#pragma once

#include "toolkit/controls/button.h"
#include "toolkit/controls/label.h"
#include "toolkit/controls/link.h"
#include "toolkit/controls/picture.h"
#include "toolkit/window.h"

namespace qh {

class AboutWindow {
public:
    // rulesEdition: the date of the rules document in force ("2026-01-01"),
    // shown under the link; empty without one.
    AboutWindow(HostHandle mainWindow, const Text& siteUrl, const Text& rulesEdition = Text())
        : main_(mainWindow), siteUrl_(siteUrl), rulesEdition_(rulesEdition) {}
    AboutWindow(const AboutWindow&) = delete;
    AboutWindow& operator=(const AboutWindow&) = delete;

    // Opens the window, or activates it when it is open.
    void Show();
    bool Exists() const { return hwnd_ != 0; }
    HostHandle Handle() const { return hwnd_; }
    UiLabel& AboutText() { return text_; }
    UiLink& AboutLink() { return link_; }
    UiLabel& RulesEditionText() { return edition_; }
    UiButton& AboutOkButton() { return ok_; }

    // Where a 390 × 265 window centred on the main window's rect stands, kept
    // on a screen of that size (origin at 0, 0).
    static RectI PlaceOn(const RectI& mainWindow, const RectI& screen);

private:
    HostHandle main_;
    Text siteUrl_;
    Text rulesEdition_;
    HostHandle hwnd_ = 0;
    UiWindow window_;
    UiPicture logo_;
    UiLabel text_;
    UiLink link_;
    UiLabel edition_;
    UiButton ok_;
};

}  // namespace qh
