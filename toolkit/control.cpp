#include "toolkit/control.h"

#include "toolkit/messages.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"

namespace qh {

HostHandle UiControl::BoundHandle() const {
    std::lock_guard<std::mutex> lock(Toolkit().bindingMutex);
    UiWindow* w = Window();
    return w != nullptr ? w->Handle() : 0;
}

UiControl::~UiControl() {
    // The kind's procedure is gone by now: only the record is removed.
    if (UiWindow* w = Window()) {
        RectF old = bounds_;
        w->RemoveControl(w->IndexOf(this));
        w->RepaintArea(old, true);
    }
}

std::intptr_t UiControl::ControlProc(UiWindow& window, int message, std::intptr_t wParam, std::intptr_t lParam) {
    const std::int32_t point = static_cast<std::int32_t>(lParam);
    switch (message) {
    case msg::kPaint:
        if (Graphics* g = window.BackGraphics()) Paint(window, *g, static_cast<int>(lParam));
        return 0;
    case msg::kKeyDown:
        return KeyDown(window, static_cast<int>(wParam)) ? 1 : 0;
    case msg::kChar:
        return Character(window, static_cast<int>(wParam), lParam == msg::kEditKeyMark) ? 1 : 0;
    case msg::kClick:
        return Click(window) ? 1 : 0;
    case msg::kTimer:
        return Tick(window) ? 1 : 0;
    case msg::kMouseMove:
    case msg::kLButtonDown:
    case msg::kLButtonUp:
    case msg::kLButtonDblClk:
    case msg::kRButtonDown:
    case msg::kRButtonUp:
        return Mouse(window, message, LoWordSigned(point), HiWordSigned(point)) ? 1 : 0;
    case msg::kMouseWheel:
        return Wheel(window, HiWordSigned(static_cast<std::int32_t>(wParam))) ? 1 : 0;
    default:
        return 0;
    }
}

bool UiControl::KeyDown(UiWindow&, int) { return false; }
bool UiControl::Character(UiWindow&, int, bool) { return false; }
bool UiControl::Click(UiWindow&) { return false; }
bool UiControl::Tick(UiWindow&) { return false; }
bool UiControl::Mouse(UiWindow&, int, int, int) { return false; }
bool UiControl::Wheel(UiWindow&, int) { return false; }

UiWindow* UiControl::Window() const {
    if (windowIndex_ <= 0 || id_ <= 0) return nullptr;
    auto& table = Toolkit().windows;
    if (windowIndex_ > static_cast<int>(table.size())) return nullptr;
    return table[windowIndex_ - 1];
}

void UiControl::CreateBase(HostHandle hwnd, const RectF& bounds, int kind, bool visible, bool tabStop,
                           int cursor, bool cursorGiven) {
    if (id_ != 0 || hwnd == 0) return;
    UiWindow* window = nullptr;
    for (UiWindow* w : Toolkit().windows) {
        if (w != nullptr && w->Handle() == hwnd) window = w;
    }
    if (window == nullptr) return;
    bounds_ = bounds;
    cursor_ = cursorGiven ? cursor : kCursorArrow;
    const int id = window->AddControl(this, bounds, kind, visible, tabStop, cursor_);
    {
        std::lock_guard<std::mutex> lock(Toolkit().bindingMutex);
        id_ = id;
        windowIndex_ = window->WindowIndex();
    }
    drawEnabled_ = 1;
    toolTipText_.clear();
}

int UiControl::Disabled(int value, bool set) {
    return OnWindowThread(0, [&] {
        if (set && disabled_ != value) {
            disabled_ = value;
            Redraw();
        }
        return disabled_;
    });
}

int UiControl::Left(int value, bool set) {
    if (set) Move(static_cast<float>(value), std::nullopt, std::nullopt, std::nullopt);
    return OnWindowThread(0, [&] { return static_cast<int>(bounds_.left); });
}
int UiControl::Top(int value, bool set) {
    if (set) Move(std::nullopt, static_cast<float>(value), std::nullopt, std::nullopt);
    return OnWindowThread(0, [&] { return static_cast<int>(bounds_.top); });
}
int UiControl::Width(int value, bool set) {
    if (set) Move(std::nullopt, std::nullopt, static_cast<float>(value), std::nullopt);
    return OnWindowThread(0, [&] { return static_cast<int>(bounds_.width); });
}
int UiControl::Height(int value, bool set) {
    if (set) Move(std::nullopt, std::nullopt, std::nullopt, static_cast<float>(value));
    return OnWindowThread(0, [&] { return static_cast<int>(bounds_.height); });
}

int UiControl::Visible(int value, bool set) {
    return OnWindowThread(0, [&] {
        UiWindow* w = Window();
        ControlRecord* rec = w ? w->Record(w->IndexOf(this)) : nullptr;
        if (rec == nullptr) return 0;
        if (!set) return rec->visible ? 1 : 0;
        const bool show = (value & 1) != 0;
        if (!show && !rec->visible) return 0;
        if (show == rec->visible) return show ? 1 : 0;
        rec->visible = show;
        const int index = w->IndexOf(this);
        if (show) {
            w->SendControlMessage(index, msg::kShown, 0, 0, true);
            w->RepaintControl(w->IndexOf(this), kStateFocused);
        } else {
            w->SendControlMessage(index, msg::kHidden, 0, 0, true);
            if (w->hoverId_ == id_) w->hoverId_ = 0;
            w->RepaintArea(bounds_, true);
        }
        return show ? 1 : 0;
    });
}

void UiControl::Move(std::optional<float> left, std::optional<float> top, std::optional<float> width,
                     std::optional<float> height, bool redraw) {
    OnWindowThread(0, [&] {
        RectF old = bounds_;
        if (left) bounds_.left = *left;
        if (top) bounds_.top = *top;
        if (width) bounds_.width = *width;
        if (height) bounds_.height = *height;
        UiWindow* w = Window();
        if (w == nullptr) return 0;
        if (ControlRecord* rec = w->Record(w->IndexOf(this))) rec->bounds = bounds_;
        if (redraw && drawEnabled_ != 0) {
            w->RepaintArea(old, true);
            w->RepaintArea(bounds_, true);
        }
        return 0;
    });
}

void UiControl::Redraw() {
    OnWindowThread(0, [&] {
        UiWindow* w = Window();
        if (w == nullptr || drawEnabled_ == 0) return 0;
        int index = w->IndexOf(this);
        w->RepaintControl(index, w->PaintStateOf(index));
        return 0;
    });
}

void UiControl::SetZOrder(int position, bool positionGiven) {
    OnWindowThread(0, [&] {
        UiWindow* w = Window();
        if (w == nullptr) return 0;
        if (position == 1 || !positionGiven) {
            // The window's input state and timers name controls by id, so
            // they stay with this control when it moves to the top.
            int index = w->IndexOf(this);
            ControlRecord rec = *w->Record(index);
            w->controls_.erase(w->controls_.begin() + (index - 1));
            w->controls_.push_back(std::move(rec));
        }
        Redraw();
        return 0;
    });
}

Text UiControl::ToolTip(const Text& text, bool set, bool showNow) {
    return OnWindowThread(Text(), [&] {
        if (set) toolTipText_ = text;
        if (showNow) ShowToolTip(toolTipText_);
        return toolTipText_;
    });
}

void UiControl::ShowToolTip(const Text& text) {
    if (UiWindow* w = Window()) TheHost().ShowTooltip(w->Handle(), text);
}

bool UiControl::IsFocused() {
    return OnWindowThread(false, [&] {
        UiWindow* w = Window();
        return w != nullptr && w->FocusedControl() != 0 && w->FocusedControl() == w->IndexOf(this);
    });
}

ControlRecord* UiControl::OwnRecord() const {
    UiWindow* w = Window();
    return w ? w->Record(w->IndexOf(this)) : nullptr;
}

int UiControl::TabStop(int value, bool set) {
    return OnWindowThread(0, [&] {
        ControlRecord* rec = OwnRecord();
        if (rec == nullptr) return 0;
        if (set) rec->tabStop = value != 0;
        return rec->tabStop ? 1 : 0;
    });
}

int UiControl::UserValue(int value, bool set) {
    return OnWindowThread(0, [&] {
        ControlRecord* rec = OwnRecord();
        if (rec == nullptr) return 0;
        if (set) rec->userValue = value;
        return rec->userValue;
    });
}

int UiControl::NoMouse(int value, bool set) {
    return OnWindowThread(0, [&] {
        ControlRecord* rec = OwnRecord();
        if (rec == nullptr) return 0;
        if (set) rec->noMouse = value != 0;
        return rec->noMouse ? 1 : 0;
    });
}

bool UiControl::Destroy() {
    return OnWindowThread(false, [&] {
        UiWindow* w = Window();
        if (w == nullptr) return false;
        int index = w->IndexOf(this);
        w->SendControlMessage(index, msg::kDestroy, 0, 0, true);
        RectF old = bounds_;
        w->RemoveControl(w->IndexOf(this));
        {
            std::lock_guard<std::mutex> lock(Toolkit().bindingMutex);
            windowIndex_ = 0;
            id_ = 0;
        }
        w->RepaintArea(old, true);
        return true;
    });
}

int UiControl::Cursor(int value, bool set) {
    return OnWindowThread(0, [&] {
        if (set) {
            cursor_ = value;
            if (ControlRecord* rec = OwnRecord()) {
                rec->cursor = value;
                rec->traits = Traits();  // a hand cursor makes a label a link
            }
        }
        return cursor_;
    });
}

Text UiControl::Name(const Text& name, bool set) {
    if (set) name_ = name;
    return name_;
}

ControlSnapshot UiControl::Snapshot() const { return {}; }

std::vector<Text> UiControl::AccessibleItemCells(int item) const {
    const ControlSnapshot s = Snapshot();
    if (item < 1 || item > static_cast<int>(s.rows.size())) return {};
    return s.rows[static_cast<std::size_t>(item - 1)];
}

std::vector<std::pair<float, Text>> UiControl::ShownLines(UiWindow&) const {
    return {{bounds_.top + bounds_.height / 2, Snapshot().text}};
}

Text UiControl::UserText(const Text& text, bool set) {
    return OnWindowThread(Text(), [&] {
        if (set) userText_ = text;
        return userText_;
    });
}

int UiControl::DrawEnabled(int value, bool set) {
    return OnWindowThread(0, [&] {
        if (set) drawEnabled_ = value;
        return drawEnabled_;
    });
}

void UiControl::SuspendDraw() { DrawEnabled(0, true); }
void UiControl::ResumeDraw() { DrawEnabled(1, true); }

void UiControl::HookMessage(int message, ControlHook handler) {
    OnWindowThread(0, [&] {
        ControlRecord* rec = OwnRecord();
        if (rec == nullptr) return 0;
        for (auto& [m, h] : rec->hooks) {
            if (m == message) {
                h = std::move(handler);
                return 0;
            }
        }
        rec->hooks.emplace_back(message, std::move(handler));
        return 0;
    });
}

}  // namespace qh
