#include "toolkit/window.h"

#include <algorithm>

#include "runtime/startup_trace.h"
#include "toolkit/caption_button.h"
#include "toolkit/caption_icon.h"
#include "toolkit/draw.h"
#include "toolkit/messages.h"
#include "toolkit/scale.h"
#include "toolkit/style_painter.h"
#include "toolkit/toolkit.h"

namespace qh {

namespace {
constexpr int kCaptionHeight = 25;
constexpr int kAnimationFrames = 25;
// Where a window without a colour of its own takes it from its skin, as a
// fraction of the skin's width and height.
constexpr double kSkinColorAt = 0.85;

Argb SkinColor(const UiImage& skin) {
    return skin.GetPixel(static_cast<int>(kSkinColorAt * skin.Width()), static_cast<int>(kSkinColorAt * skin.Height()));
}
}  // namespace

UiWindow::UiWindow() = default;

UiWindow::~UiWindow() { ReleaseResources(); }

bool UiWindow::Create(HostHandle hwnd, const Bytes& backgroundImage, Argb backgroundColor, bool hasColor,
                      int flags, bool fixedSize, int frameStyle, const std::array<int, 4>* frameRect) {
    if (Toolkit().host == nullptr || hwnd == 0 || hwnd_ != 0) return false;
    Host& host = TheHost();
    SetBackgroundImage(backgroundImage);
    StartupMark("background image decoded");
    backgroundColor_ = hasColor ? backgroundColor : SkinColor(backgroundImage_);
    std::uint32_t style = host.Style(hwnd);
    if (flags == 0 || (flags & kFlagDerive)) {
        flags_ = 1 | 2 | kFlagCloseButton;
        if (style & kStyleMaximizeBox) flags_ |= kFlagMaximize;
        if (style & kStyleMinimizeBox) flags_ |= kFlagMinimize;
    } else {
        flags_ = flags;
    }
    host.SetStyle(hwnd, fixedSize ? style & ~kStyleThickFrame : style | kStyleThickFrame);
    frameStyle_ = frameStyle;
    if (frameStyle == 1 && frameRect != nullptr) frameRect_ = *frameRect;

    {
        std::lock_guard<std::mutex> lock(Toolkit().bindingMutex);
        hwnd_ = hwnd;
        Toolkit().windows.push_back(this);
        windowIndex_ = static_cast<int>(Toolkit().windows.size());
    }
    layered_ = true;
    scale_ = host.Scale(hwnd);
    host.Attach(hwnd, this);
    CreateCaptionButtons();
    RectI r = host.WindowRect(hwnd);
    Resize(r.width, r.height);
    if (!backgroundHandleGiven_) backgroundImage_.Dispose();
    return true;
}

const UiImage& UiWindow::BackgroundImage() {
    if (backgroundImage_.Empty() && !backgroundBytes_.empty()) backgroundImage_.LoadFromMemory(backgroundBytes_);
    return backgroundImage_;
}

void UiWindow::SetBackgroundImage(const Bytes& image) {
    // Bytes that do not decode are not kept, so they are not tried again.
    backgroundBytes_ = backgroundImage_.LoadFromMemory(image) ? image : Bytes();
}

void UiWindow::ReleaseResources() {
    if (hwnd_ == 0) return;
    const HostHandle h = hwnd_;
    {
        // Unbind first, under the lock: from here on another thread's call
        // finds no window and does not post to one that is going away.
        std::lock_guard<std::mutex> lock(Toolkit().bindingMutex);
        for (auto& rec : controls_) {
            if (rec.object) {
                rec.object->windowIndex_ = 0;
                rec.object->id_ = 0;
            }
        }
        auto& table = Toolkit().windows;
        if (windowIndex_ >= 1 && windowIndex_ <= static_cast<int>(table.size()) &&
            table[windowIndex_ - 1] == this) {
            table[windowIndex_ - 1] = nullptr;
        }
        hwnd_ = 0;
        windowIndex_ = 0;
    }
    controls_.clear();
    captionButtons_.clear();
    captionIcon_.reset();
    systemMenu_.Close();
    if (Toolkit().host != nullptr) {
        TheHost().ReleaseCapture(h);
        TheHost().Attach(h, nullptr);
    }
    backGraphics_.reset();
    cacheGraphics_.reset();
    back_ = Bitmap();
    cache_ = Bitmap();
    focusedId_ = hoverId_ = pressedId_ = 0;
}

void UiWindow::CreateCaptionButtons() {
    if (flags_ & kFlagCloseButton) captionButtons_.push_back(std::make_unique<UiSystemButton>(kCaptionClose));
    if (flags_ & kFlagMaximize) captionButtons_.push_back(std::make_unique<UiSystemButton>(kCaptionMaximize));
    if (flags_ & kFlagMinimize) captionButtons_.push_back(std::make_unique<UiSystemButton>(kCaptionMinimize));
    for (auto& b : captionButtons_) b->CreateBase(hwnd_, RectF{}, kKindSystemButton, true, false);
    // The program's icon at the left of the caption, shown with the caption.
    captionIcon_ = std::make_unique<UiCaptionIcon>();
    captionIcon_->CreateBase(hwnd_, MakeRect(kCaptionIconLeft, kCaptionIconTop, kCaptionIconSize, kCaptionIconSize),
                             kKindPicture, frameStyle_ != 0, false);
}

int UiWindow::MenuOwner() const { return captionIcon_ ? IndexOf(captionIcon_.get()) : 0; }

RectI UiWindow::MinTrackSize() const {
    int n = static_cast<int>(captionButtons_.size());
    const int width = 28 * n + ((flags_ & kFlagCloseButton) ? 11 : 0) + 40;
    return RectI{0, 0, std::max(width, minimumSize_.first), std::max(40, minimumSize_.second)};
}

void UiWindow::Resize(int width, int height) {
    if (width <= 0 || height <= 0) return;
    // An open menu was laid out for the old size.
    systemMenu_.Close();
    clientWidth_ = width;
    clientHeight_ = height;
    backGraphics_.reset();
    cacheGraphics_.reset();
    // The buffers hold device pixels; everything drawn into them is logical.
    const int deviceWidth = ToDevice(width, scale_), deviceHeight = ToDevice(height, scale_);
    back_ = Bitmap(deviceWidth, deviceHeight);
    cache_ = Bitmap(deviceWidth, deviceHeight);
    backGraphics_ = TheGraphics().Open(back_, scale_);
    cacheGraphics_ = TheGraphics().Open(cache_, scale_);
    // Caption buttons sit at the top right, laid out leftwards.
    float right = static_cast<float>(width);
    for (auto& b : captionButtons_) {
        float w = static_cast<UiSystemButton&>(*b).Which() == kCaptionClose ? 39.0f : 28.0f;
        right -= w;
        b->Move(right, 0.0f, w, 19.0f, false);
    }
    if (onResize_) onResize_(hwnd_, width, height, 0);
    RenderBackground();
}

void UiWindow::RenderBackground() {
    if (!cacheGraphics_) return;
    Graphics& g = *cacheGraphics_;
    const RectF all = MakeRect(0, 0, static_cast<float>(clientWidth_), static_cast<float>(clientHeight_));
    g.ResetClip();
    g.Clear(0);
    if (const UiImage& skin = BackgroundImage(); !skin.Empty()) {
        const Bitmap& img = skin.Pixels();
        Margins m;
        if (frameStyle_ == 1) {
            m = Margins{float(frameRect_[0]), float(frameRect_[1]), float(frameRect_[2]), float(frameRect_[3])};
        } else {
            float mx = std::min(30.0f, img.Width() / 3.0f), my = std::min(30.0f, img.Height() / 3.0f);
            m = Margins{mx, std::max(my, std::min<float>(kCaptionHeight, img.Height() / 3.0f)), mx, my};
        }
        DrawNineGrid(g, img, all, m);
    } else {
        g.FillRectangle(all, backgroundColor_);
    }
    if (onPaint_) onPaint_(hwnd_, g, 0, clientWidth_, clientHeight_);
    const Text title = captionText_.empty() ? TheHost().Title(hwnd_) : captionText_;
    if (!title.empty() && frameStyle_ != 0) {
        const float left = MenuOwner() != 0 ? kCaptionTitleAfterIcon : 8.0f;
        DrawGlowText(g, title, Toolkit().defaultFont, MakeArgb(0x000000, 255),
                     MakeRect(left, 0, static_cast<float>(clientWidth_) - 92 - left, kCaptionHeight));
    }
    if (frameStyle_ != 0) DrawRectStyled(g, all, MakeArgb(0x404040, 140));
    if (onPaintOver_) onPaintOver_(hwnd_, g, 0, clientWidth_, clientHeight_);
    RepaintArea(all, true);
}

void UiWindow::SetCaptionText(const Text& text) {
    captionText_ = text;
    if (hwnd_ != 0) RenderBackground();
}

void UiWindow::SetBackground(const Bytes& image, bool setImage, std::int64_t color, bool setColor, bool redraw) {
    if (setImage) SetBackgroundImage(image);
    if (setColor) backgroundColor_ = color == -1 ? SkinColor(BackgroundImage()) : static_cast<Argb>(color);
    if (redraw && hwnd_ != 0) RenderBackground();
}

int UiWindow::FrameStyle(int value, bool set) {
    if (set) {
        frameStyle_ = value;
        // The caption icon belongs to the caption, which style 0 does not draw.
        if (ControlRecord* icon = Record(MenuOwner())) icon->visible = value != 0;
        if (hwnd_ != 0) RenderBackground();
    }
    return frameStyle_;
}

ControlRecord* UiWindow::Record(int index) {
    if (index < 1 || index > static_cast<int>(controls_.size())) return nullptr;
    return &controls_[index - 1];
}

int UiWindow::IndexOf(const UiControl* control) const {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (controls_[i].object == control) return static_cast<int>(i) + 1;
    }
    return 0;
}

int UiWindow::IndexOfId(int id) const {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (controls_[i].id == id) return static_cast<int>(i) + 1;
    }
    return 0;
}

int UiWindow::IndexOfName(const Text& name) const {
    if (name.empty()) return 0;
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (controls_[i].object != nullptr && controls_[i].object->Name() == name) return static_cast<int>(i) + 1;
    }
    return 0;
}

int UiWindow::IdAt(int index) const {
    const ControlRecord* rec = index >= 1 && index <= ControlCount() ? &controls_[index - 1] : nullptr;
    return rec ? rec->id : 0;
}

int UiWindow::SmallestFreeId() const {
    for (int id = 1;; ++id) {
        if (IndexOfId(id) == 0) return id;
    }
}

int UiWindow::AddControl(UiControl* object, const RectF& bounds, int kind, bool visible, bool tabStop, int cursor) {
    ControlRecord rec;
    rec.object = object;
    rec.bounds = bounds;
    rec.kind = kind;
    rec.traits = object->Traits();
    rec.visible = visible;
    rec.tabStop = tabStop;
    rec.cursor = cursor;
    rec.id = SmallestFreeId();
    controls_.push_back(std::move(rec));
    return controls_.back().id;
}

void UiWindow::RemoveControl(int index) {
    if (!Record(index)) return;
    const int id = controls_[index - 1].id;
    // Its timer stops with it: a later control may take the same id.
    StopControlTimer(index);
    controls_.erase(controls_.begin() + (index - 1));
    // The input state names controls by id: only the removed one lets go.
    if (focusedId_ == id) focusedId_ = 0;
    if (hoverId_ == id) hoverId_ = 0;
    if (pressedId_ == id) {
        pressedId_ = 0;
        if (hwnd_ != 0) TheHost().ReleaseCapture(hwnd_);
    }
}

int UiWindow::HitTest(int x, int y) const {
    // The caption buttons get the mouse first, then the list from its top.
    for (bool caption : {true, false}) {
        for (int i = static_cast<int>(controls_.size()); i >= 1; --i) {
            const ControlRecord& r = controls_[i - 1];
            if (r.traits.captionLayer != caption) continue;
            if (r.visible && r.bounds.Contains(static_cast<float>(x), static_cast<float>(y))) return i;
        }
    }
    return 0;
}

std::intptr_t UiWindow::SendControlMessage(int index, int message, std::intptr_t wParam, std::intptr_t lParam,
                                           bool force) {
    ControlRecord* rec = Record(index);
    if (rec == nullptr || rec->object == nullptr) return 0;
    if (!force && (!rec->visible || !rec->acceptsMessages)) return 0;
    UiControl* object = rec->object;
    std::intptr_t result = object->ControlProc(*this, message, wParam, lParam);
    // The procedure may have removed or moved controls: look the record up again.
    int now = IndexOf(object);
    if (ControlRecord* again = Record(now)) {
        for (const auto& [hookMessage, hook] : std::vector(again->hooks)) {
            if (hookMessage == message) hook(windowIndex_, now, wParam, lParam, force);
        }
    }
    return result;
}

int UiWindow::PaintStateOf(int index) const {
    if (index >= 1 && index <= ControlCount() && controls_[index - 1].pinnedState) {
        return *controls_[index - 1].pinnedState;
    }
    if (index == Pressed() && index == Hover()) return kStatePressed;
    if (index == Hover() && Pressed() == 0) return kStateHover;
    if (index == Focused()) return kStateFocused;
    return kStateNormal;
}

void UiWindow::RepaintArea(const RectF& area, bool present) { PaintArea(area, 0, 0, present); }

void UiWindow::RepaintControl(int index, int state) {
    ControlRecord* rec = Record(index);
    if (rec == nullptr || rec->object == nullptr || !rec->visible || rec->object->drawEnabled_ == 0) return;
    PaintArea(rec->bounds, index, rec->pinnedState.value_or(state), true);
}

void UiWindow::PinControlState(int index, std::optional<int> state) {
    ControlRecord* rec = Record(index);
    if (rec == nullptr) return;
    rec->pinnedState = state;
    RepaintControl(index, PaintStateOf(index));
}

void UiWindow::PaintArea(const RectF& area, int index, int state, bool present) {
    if (animating_ || !backGraphics_) return;
    RectI px = DevicePixelBounds(area, scale_, back_.Width(), back_.Height());
    if (px.Empty()) return;
    back_.CopyArea(cache_, px);
    // The whole device pixels touched, in logical units: the controls that
    // reach into them paint, clipped to them.
    const RectF clip = MakeRect(px.left / scale_, px.top / scale_, px.width / scale_, px.height / scale_);
    backGraphics_->SetClip(clip);
    // The controls in list order, then the caption buttons over them.
    for (bool caption : {false, true}) {
        for (int i = 1; i <= ControlCount(); ++i) {
            const ControlRecord& rec = controls_[i - 1];
            if (rec.traits.captionLayer != caption || !rec.visible || !rec.bounds.Intersects(clip)) continue;
            SendControlMessage(i, msg::kPaint, 0, i == index ? state : PaintStateOf(i), false);
            backGraphics_->SetClip(clip);
        }
        if (!caption) PaintFocusRing(clip);
    }
    // The drawn system menu lies over everything.
    if (systemMenu_.IsOpen() && systemMenu_.Bounds().Intersects(clip)) systemMenu_.Paint(*backGraphics_);
    backGraphics_->ResetClip();
    if (present) Present(px);
}

void UiWindow::PaintFocusRing(const RectF& clip) {
    const ControlRecord* rec = Record(Focused());
    if (!keyboardCues_ || rec == nullptr || !rec->visible || !rec->traits.focusRing || !rec->bounds.Intersects(clip)) {
        return;
    }
    // Two lines, light outside and the accent inside, so that the ring shows
    // on the skin's dark parts and on white alike.
    constexpr float kRingRounding = 4.0f;
    constexpr Argb kRingOuter = MakeArgb(0xFFFFFF, 230);
    const RectF b = rec->bounds;
    DrawRoundRect(*backGraphics_, MakeRect(b.left, b.top, b.width - 1, b.height - 1), kRingRounding, kRingOuter);
    DrawRoundRect(*backGraphics_, MakeRect(b.left + 1, b.top + 1, b.width - 3, b.height - 3), kRingRounding - 1,
                  Style().accent);
}

void UiWindow::Present(const RectI& area) {
    if (presentsHeld_) return;
    int alpha = (!layered_ || alpha_ == -1) ? 255 : alpha_;
    TheHost().Present(hwnd_, back_, area, alpha);
}

void UiWindow::StartControlTimer(int index, int interval, bool intervalGiven) {
    if (!Record(index) || hwnd_ == 0) return;
    // The timer names the control by its id, which stays the same when
    // other controls are destroyed or the z-order changes.
    const std::uint32_t id = (static_cast<std::uint32_t>(Record(index)->id) << 16) |
                             static_cast<std::uint32_t>(windowIndex_ & 0xFFFF);
    TheHost().StartTimer(hwnd_, id, intervalGiven ? interval : Toolkit().defaultTimerInterval);
}

void UiWindow::StopControlTimer(int index) {
    if (!Record(index) || hwnd_ == 0) return;
    TheHost().StopTimer(hwnd_, (static_cast<std::uint32_t>(Record(index)->id) << 16) |
                                   static_cast<std::uint32_t>(windowIndex_ & 0xFFFF));
}

void UiWindow::OnTimer(std::uint32_t id) {
    if (id == static_cast<std::uint32_t>(msg::kFadeTimer)) {
        fadeCounter_ += 51;
        TheHost().Present(hwnd_, back_, DeviceArea(), std::min(255, fadeCounter_));
        if (fadeCounter_ >= 255) {
            TheHost().StopTimer(hwnd_, id);
            fadeCounter_ = 0;
            fading_ = false;
        }
        return;
    }
    if (fading_) return;
    const int index = IndexOfId(static_cast<int>(id >> 16));
    if (index != 0) SendControlMessage(index, msg::kTimer, static_cast<std::intptr_t>(id), 0, false);
}

void UiWindow::StartFade(int interval, bool intervalGiven) {
    if (hwnd_ == 0) return;
    fading_ = true;
    fadeCounter_ = 0;
    TheHost().StartTimer(hwnd_, static_cast<std::uint32_t>(msg::kFadeTimer),
                         intervalGiven ? interval : Toolkit().defaultTimerInterval);
}

void UiWindow::Show(int fade) {
    if (hwnd_ == 0) return;
    presentsHeld_ = false;
    Host& host = TheHost();
    const RectI all = DeviceArea();
    if (alpha_ != -1) {
        host.Present(hwnd_, back_, all, alpha_);
        host.ShowWindow(hwnd_, true);
        return;
    }
    animating_ = true;
    host.Present(hwnd_, back_, all, 1);
    host.ShowWindow(hwnd_, true);
    if (fade == 1) {
        for (int i = 1; i <= kAnimationFrames; ++i) {
            host.Present(hwnd_, back_, all, (255 / kAnimationFrames) * (i - 1));
            host.Sleep(8);
        }
    }
    host.Present(hwnd_, back_, all, 254);
    animating_ = false;
    // An opaque window leaves layered mode and is presented as it is.
    layered_ = false;
    host.Present(hwnd_, back_, all, 255);
}

void UiWindow::RunCloseAnimation() {
    Host& host = TheHost();
    // Drawn in device pixels, from the back buffer as it is.
    const int w = back_.Width(), h = back_.Height();
    const int a = alpha_ == -1 ? 255 : alpha_;
    Bitmap frame(w, h);
    auto g = TheGraphics().Open(frame);
    animating_ = true;
    for (int i = 1; i <= kAnimationFrames; ++i) {
        const float left = static_cast<float>(i) / kAnimationFrames;
        RectF dest = MakeRect(0, 0, float(w), float(h));
        RectF src = dest;
        if (closeAnimation_ == 2) {
            dest = MakeRect(w * left / 2, h * left / 2, w * (1 - left), h * (1 - left));
        } else if (closeAnimation_ == 3 || closeAnimation_ == 4) {
            float cut = static_cast<float>(w / kAnimationFrames) * i;
            dest = src = MakeRect(cut / 2, 0, std::max(0.0f, w - cut), float(h));
        } else if (closeAnimation_ != 1) {
            float cut = static_cast<float>(h / kAnimationFrames) * i;
            dest = src = MakeRect(0, cut / 2, float(w), std::max(0.0f, h - cut));
        }
        frame.Fill(0);
        if (dest.width > 0 && dest.height > 0) g->DrawImage(back_, dest, src, 255);
        host.Present(hwnd_, frame, RectI{0, 0, w, h}, a - (a / kAnimationFrames) * i);
        host.Sleep(closeAnimation_ == 2 ? std::max(1, 8 * (kAnimationFrames - i) / kAnimationFrames) : 8);
    }
    frame.Fill(0);
    host.Present(hwnd_, frame, RectI{0, 0, w, h}, 0);
    animating_ = false;
}

namespace {

// The messages a disabled window does not take: the mouse and the keys.
bool IsUserInput(int message) {
    switch (message) {
    case msg::kKeyDown:
    case msg::kKeyUp:
    case msg::kChar:
    case msg::kSysKeyDown:
    case msg::kMouseWheel:
    case msg::kMouseMove:
    case msg::kLButtonDblClk:
    case msg::kLButtonDown:
    case msg::kLButtonUp:
    case msg::kRButtonDown:
    case msg::kRButtonUp:
        return true;
    default:
        return false;
    }
}

}  // namespace

std::intptr_t UiWindow::Default(int message, std::intptr_t wParam, std::intptr_t lParam) {
    if (onMessage_) {
        std::intptr_t r = onMessage_(hwnd_, message, wParam, lParam);
        if (r != -1) return r;
    }
    return TheHost().DefaultProc(hwnd_, message, wParam, lParam);
}

std::intptr_t UiWindow::HandleMessage(int message, std::intptr_t wParam, std::intptr_t lParam) {
    ++dispatchDepth_;
    const std::intptr_t result = Dispatch(message, wParam, lParam);
    --dispatchDepth_;
    // Reported once per message from the system, after everything it set
    // off; the pointer's moves and repaints change nothing a reader reads.
    const bool changes = message != msg::kMouseMove && message != msg::kPaint;
    if (dispatchDepth_ == 0 && changes && hwnd_ != 0 && TheHost().AccessibilityActive(hwnd_)) {
        ReportAccessibleChanges();
    }
    return result;
}

std::intptr_t UiWindow::Dispatch(int message, std::intptr_t wParam, std::intptr_t lParam) {
    if (hwnd_ == 0) return 0;
    if (!inputEnabled_ && IsUserInput(message)) return 0;
    Host& host = TheHost();
    switch (message) {
    case msg::kDestroy: {
        mouseTracking_ = false;
        HostHandle h = hwnd_;
        MessageHandler onMessage = onMessage_;
        for (int i = ControlCount(); i >= 1; --i) SendControlMessage(i, msg::kDestroy, 0, 0, true);
        ReleaseResources();
        if (onMessage) onMessage(h, message, wParam, lParam);
        return host.DefaultProc(h, message, wParam, lParam);
    }
    case msg::kSize:
        Resize(LoWordSigned(static_cast<std::int32_t>(lParam)) & 0xFFFF,
               HiWordSigned(static_cast<std::int32_t>(lParam)) & 0xFFFF);
        return Default(message, wParam, lParam);
    case msg::kDpiChanged:
        scale_ = host.Scale(hwnd_);
        Resize(clientWidth_, clientHeight_);
        return Default(message, wParam, lParam);
    case msg::kPaint:
        Present(DeviceArea());
        return Default(message, wParam, lParam);
    case msg::kClose:
        if (closeAnimation_ != 0) RunCloseAnimation();
        return Default(message, wParam, lParam);
    case msg::kGetMinMaxInfo: {
        auto* info = reinterpret_cast<MinMaxInfo*>(lParam);
        if (info != nullptr) {
            RectI work = host.WorkArea();
            info->maxSize = {work.left + work.width, work.top + work.height - 1};
            info->maxPosition = {work.left, work.top};
            RectI min = MinTrackSize();
            info->minTrackSize = {min.width, min.height};
        }
        return Default(message, wParam, lParam);
    }
    case msg::kKeyDown:
        KeyDown(static_cast<int>(wParam), lParam);
        return 0;
    case msg::kKeyUp:
        KeyUp(static_cast<int>(wParam), lParam);
        return 0;
    case msg::kChar:
        Char(static_cast<int>(wParam), lParam);
        return 0;
    case msg::kCommand:
        // Commands of the window's menu are system commands (minimize,
        // maximize, restore, close), handled as the system handles them.
        return Dispatch(msg::kSysCommand, wParam, lParam);
    case msg::kTimer:
        OnTimer(static_cast<std::uint32_t>(wParam));
        return 0;
    case msg::kActivate:
        Activate((wParam & 0xFFFF) != 0);
        return Default(message, wParam, lParam);
    case msg::kKillFocus:
        KillFocus();
        return Default(message, wParam, lParam);
    case msg::kSysKeyDown:
        SysKeyDown(static_cast<int>(wParam), lParam);
        return Default(message, wParam, lParam);
    case msg::kMouseWheel:
        Wheel(wParam, lParam);
        return 0;
    case msg::kMouseMove:
        mouseTracking_ = true;
        RouteMouse(message, wParam, lParam);
        return 0;
    case msg::kLButtonDblClk:
        return Dispatch(msg::kLButtonDown, msg::kDoubleClickMark, lParam), 0;
    case msg::kLButtonDown:
    case msg::kLButtonUp:
    case msg::kRButtonDown:
    case msg::kRButtonUp:
        RouteMouse(message, wParam, lParam);
        return 0;
    case msg::kMouseLeave:
        mouseTracking_ = false;
        if (Hover() != 0) {
            int h = Hover();
            hoverId_ = 0;
            // Repainted in its normal look: a control left behind by the mouse
            // must not keep showing hover. The mouse has left the control
            // too, so its leave handler runs: a tip shown while the mouse
            // rested on it must not stay up once the mouse is elsewhere.
            RepaintControl(h, kStateNormal);
            CallControlHandler(onMouseLeave_, h);
        }
        host.ReleaseCapture(hwnd_);
        return 0;
    case msg::kSetText:
        RenderBackground();
        return Default(message, wParam, lParam);
    case msg::kSysKeyForward:
        // The operation after the key operations: a new skin, wParam the
        // address of its bytes (or 0 to keep the image) and lParam the colour
        // (-1 takes it from the skin, 0 keeps the colour).
        SetBackground(wParam != 0 ? *reinterpret_cast<const Bytes*>(wParam) : Bytes(), wParam != 0,
                      static_cast<std::int32_t>(lParam), lParam != 0, true);
        return 0;
    case msg::kBackgroundHandle:
        if (BackgroundImage().Empty()) return 0;
        backgroundHandleGiven_ = true;
        return reinterpret_cast<std::intptr_t>(&backgroundImage_);
    case msg::kBackgroundColor:
        return static_cast<std::intptr_t>(backgroundColor_);
    default:
        return Default(message, wParam, lParam);
    }
}

}  // namespace qh
