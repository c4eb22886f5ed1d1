#include "toolkit/controls/combo_box.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "toolkit/window.h"
#include "toolkit/draw.h"
#include "toolkit/messages.h"
#include "toolkit/style_painter.h"
#include "toolkit/toolkit.h"

namespace qh {
namespace {

constexpr float kListPad = 2.0f;      // between the list's frame and its rows
constexpr float kScrollWidth = 10.0f;  // the list's scroll bar
constexpr float kTextPad = 6.0f;
constexpr int kVkEscape = 27;
constexpr int kVkUp = 38;
constexpr int kVkDown = 40;
constexpr int kVkF4 = 115;

}  // namespace

void UiComboBox::Create(HostHandle hwnd, float left, float top, float width, float height, int selection,
                        const std::vector<qh::Text>& items, const std::vector<int>& values, Argb textColor,
                        const FontChoice& font, bool visible) {
    if (IsBound()) return;
    items_.clear();
    for (std::size_t i = 0; i < items.size(); ++i) items_.push_back(Item{items[i], i < values.size() ? values[i] : 0});
    selection_ = selection >= 0 && selection <= static_cast<int>(items_.size()) ? selection : 0;
    textColor_ = textColor;
    font_ = FontOf(font);
    open_ = false;
    CreateBase(hwnd, MakeRect(left, top, width, height), kKindComboBox, visible, true);
    Redraw();
}

int UiComboBox::Selection(int index, bool set) {
    return OnWindowThread(0, [&] {
        if (!IsBound()) return 0;
        if (set && index >= 0 && index <= static_cast<int>(items_.size()) && index != selection_) {
            selection_ = index;
            hot_ = index;
            if (open_) EnsureVisible(index);
            Redraw();
        }
        return selection_;
    });
}

int UiComboBox::AddItem(const qh::Text& text, int value) { return InsertItem(0, text, value); }

int UiComboBox::InsertItem(int index, const qh::Text& text, int value) {
    return OnWindowThread(0, [&] {
        const int count = static_cast<int>(items_.size());
        if (!IsBound() || index < 0 || index > count + 1) return 0;
        const int at = index == 0 ? count + 1 : index;
        items_.insert(items_.begin() + (at - 1), Item{text, value});
        // The items after the new one move down; the chosen one stays chosen.
        if (selection_ >= at) ++selection_;
        if (hot_ >= at) ++hot_;
        Redraw();
        return at;
    });
}

void UiComboBox::ClearItems() {
    OnWindowThread(0, [&] {
        if (!IsBound()) return 0;
        items_.clear();
        selection_ = hot_ = first_ = 0;
        if (open_) Close(true);
        else Redraw();
        return 0;
    });
}

int UiComboBox::ItemCount() const {
    return OnWindowThread(0, [&] { return IsBound() ? static_cast<int>(items_.size()) : 0; });
}

qh::Text UiComboBox::ItemText(int index) const {
    return OnWindowThread(qh::Text(), [&] {
        if (!IsBound() || index < 1 || index > static_cast<int>(items_.size())) return qh::Text();
        return items_[index - 1].text;
    });
}

qh::Text UiComboBox::Text() const {
    return OnWindowThread(qh::Text(), [&] {
        return IsBound() && selection_ >= 1 && selection_ <= static_cast<int>(items_.size())
                   ? items_[selection_ - 1].text
                   : qh::Text();
    });
}

ControlSnapshot UiComboBox::Snapshot() const {
    ControlSnapshot s;
    s.text = Text();
    s.selection = OnWindowThread(0, [&] { return IsBound() ? selection_ : 0; });
    s.checked = OnWindowThread(0, [&] { return open_ ? 1 : 0; });
    return s;
}

int UiComboBox::ItemValue(int index) const {
    return OnWindowThread(0, [&] {
        if (!IsBound() || index < 1 || index > static_cast<int>(items_.size())) return 0;
        return items_[index - 1].value;
    });
}

float UiComboBox::RowHeight() const { return std::max(18.0f, std::round(font_.size + 8)); }

RectF UiComboBox::ListBounds() const {
    if (!open_) return RectF{};
    const float height = rows_ * RowHeight() + 2 * kListPad;
    return MakeRect(box_.left, up_ ? box_.top - height : box_.Bottom(), box_.width, height);
}

RectF UiComboBox::RowsArea() const {
    const RectF list = ListBounds();
    const float bar = Scrolls() ? kScrollWidth + 2 : 0;
    return MakeRect(list.left + kListPad, list.top + kListPad, std::max(0.0f, list.width - 2 * kListPad - bar),
                    rows_ * RowHeight());
}

RectF UiComboBox::Track() const {
    const RectF list = ListBounds();
    return MakeRect(list.Right() - kListPad - kScrollWidth - 1, list.top + kListPad, kScrollWidth, rows_ * RowHeight());
}

RectF UiComboBox::Thumb() const {
    const RectF track = Track();
    const int count = static_cast<int>(items_.size());
    if (count <= rows_) return track;
    const float height = std::max(12.0f, track.height * rows_ / count);
    const float top = track.top + (track.height - height) * first_ / (count - rows_);
    return MakeRect(track.left, top, track.width, height);
}

int UiComboBox::ItemAt(float x, float y) const {
    const RectF rows = RowsArea();
    if (!open_ || !rows.Contains(x, y)) return 0;
    const int item = first_ + static_cast<int>((y - rows.top) / RowHeight()) + 1;
    return item <= static_cast<int>(items_.size()) ? item : 0;
}

RectF UiComboBox::ItemBounds(int item) const {
    if (!open_ || item <= first_ || item > first_ + rows_ || item > static_cast<int>(items_.size())) return RectF{};
    const RectF rows = RowsArea();
    return MakeRect(rows.left, rows.top + (item - 1 - first_) * RowHeight(), rows.width, RowHeight());
}

bool UiComboBox::HasFocus(UiWindow& window) const {
    const int index = window.IndexOf(this);
    return index != 0 && window.FocusedControl() == index;
}

void UiComboBox::Open(UiWindow& window) {
    if (open_ || items_.empty()) return;
    const RectF box = Bounds();
    const float row = RowHeight();
    const float below = window.ClientHeight() - box.Bottom(), above = box.top;
    // As many rows as fit (up to kMaxRows): below the box when they all fit
    // there, else above it when they fit there, else on the roomier side.
    const int wanted = std::min(static_cast<int>(items_.size()), kMaxRows);
    const auto fitting = [&](float room) {
        return std::clamp(static_cast<int>(std::floor((room - 2 * kListPad) / row)), 0, wanted);
    };
    if (fitting(below) == wanted) up_ = false;
    else if (fitting(above) == wanted) up_ = true;
    else up_ = above > below;
    rows_ = fitting(up_ ? above : below);
    if (rows_ == 0) return;

    // On top of the neighbours, so the list draws over them and takes the
    // mouse there. The window may repaint the control that now holds this
    // one's old place in its list once more in the pressed look; that one is
    // repainted as it is at the next message (RepairNeighbour).
    const int place = window.IndexOf(this);
    SetZOrder();
    const ControlRecord* now = window.Record(place);
    repairId_ = now != nullptr && now->object != this ? now->id : 0;
    open_ = true;
    box_ = box;
    hot_ = selection_;
    first_ = 0;
    draggingThumb_ = false;
    EnsureVisible(std::max(1, selection_));
    const float height = rows_ * row + 2 * kListPad;
    Move(box.left, up_ ? box.top - height : box.top, box.width, box.height + height);
}

void UiComboBox::Close(bool redraw) {
    if (!open_) return;
    open_ = false;
    draggingThumb_ = false;
    Move(box_.left, box_.top, box_.width, box_.height, redraw);
}

void UiComboBox::Toggle(UiWindow& window) {
    if (open_) Close(true);
    else Open(window);
}

void UiComboBox::Choose(int item) {
    selection_ = item;
    hot_ = item;
    if (open_) Close(true);
    else Redraw();
    if (onSelect_) {
        const ComboSelectHandler handler = onSelect_;  // the handler may replace itself
        handler(item);
    }
}

void UiComboBox::Step(int step) {
    const int count = static_cast<int>(items_.size());
    if (count == 0) return;
    const int next = selection_ == 0 ? 1 : std::clamp(selection_ + step, 1, count);
    if (next != selection_) Choose(next);
}

void UiComboBox::StepHot(int step) {
    const int count = static_cast<int>(items_.size());
    if (count == 0) return;
    hot_ = hot_ == 0 ? 1 : std::clamp(hot_ + step, 1, count);
    EnsureVisible(hot_);
    Redraw();
}

void UiComboBox::ScrollTo(int first) {
    first_ = std::clamp(first, 0, std::max(0, static_cast<int>(items_.size()) - rows_));
}

void UiComboBox::EnsureVisible(int item) {
    if (item < 1) return;
    if (item - 1 < first_) ScrollTo(item - 1);
    else if (item > first_ + rows_) ScrollTo(item - rows_);
    else ScrollTo(first_);
}

void UiComboBox::RepairNeighbour(UiWindow& window) {
    const int id = std::exchange(repairId_, 0);
    const int index = id != 0 ? window.IndexOfId(id) : 0;
    // The press has the capture and the focus here, so the neighbour is
    // neither hovered nor focused.
    if (index != 0) window.RepaintControl(index, kStateNormal);
}

std::intptr_t UiComboBox::ControlProc(UiWindow& window, int message, std::intptr_t wParam, std::intptr_t lParam) {
    switch (message) {
    case msg::kDestroy:
    case msg::kHidden:
        // The list's area is repainted without it.
        Close(true);
        break;
    case msg::kSysKeyDown:
        // Alt+Down and Alt+Up open and close the list, as the system's boxes do.
        if (disabled_ == 0 && (wParam == kVkDown || wParam == kVkUp)) Toggle(window);
        return 0;
    default: break;
    }
    return UiControl::ControlProc(window, message, wParam, lParam);
}

bool UiComboBox::KeyDown(UiWindow& window, int vk) {
    if (disabled_ != 0) return false;
    RepairNeighbour(window);
    switch (vk) {
    case kVkUp:
    case kVkDown:
        if (open_) StepHot(vk == kVkUp ? -1 : 1);
        else Step(vk == kVkUp ? -1 : 1);
        return true;
    case kVkEscape:
        if (!open_) return false;
        Close(true);
        return true;
    case kVkF4: Toggle(window); return true;
    default: return false;
    }
}

bool UiComboBox::Click(UiWindow&) {
    // A click of the mouse was handled as its press and release; Enter and
    // Space pick the hot item of the open list.
    if (std::exchange(clickFromMouse_, false) || !open_) return false;
    if (hot_ != 0) Choose(hot_);
    else Close(true);
    return true;
}

bool UiComboBox::Wheel(UiWindow& window, int delta) {
    if (disabled_ != 0 || delta == 0) return false;
    RepairNeighbour(window);
    const int notches = std::max(1, std::abs(delta) / 120);
    const int step = delta > 0 ? -1 : 1;  // away from the user goes up the list
    for (int i = 0; i < notches; ++i) {
        if (open_) StepHot(step);
        else Step(step);
    }
    return true;
}

bool UiComboBox::Mouse(UiWindow& window, int message, int x, int y) {
    if (disabled_ != 0) return false;
    RepairNeighbour(window);
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    switch (message) {
    case msg::kLButtonDown: {
        clickFromMouse_ = false;
        if (!open_) {
            Open(window);
            return true;
        }
        if (box_.Contains(fx, fy)) {
            Close(true);
            return true;
        }
        if (Scrolls() && Track().Contains(fx, fy)) {
            const RectF thumb = Thumb();
            if (fy < thumb.top) ScrollTo(first_ - rows_);
            else if (fy >= thumb.Bottom()) ScrollTo(first_ + rows_);
            else {
                draggingThumb_ = true;
                dragOffset_ = fy - thumb.top;
            }
            Redraw();
            return true;
        }
        if (const int item = ItemAt(fx, fy); item != 0 && item != hot_) {
            hot_ = item;
            Redraw();
        }
        return true;
    }
    case msg::kMouseMove: {
        if (!open_) return false;
        if (draggingThumb_) {
            const RectF track = Track(), thumb = Thumb();
            const float span = track.height - thumb.height;
            const int range = static_cast<int>(items_.size()) - rows_;
            const int first = span > 0 ? static_cast<int>(std::lround((fy - dragOffset_ - track.top) / span * range)) : 0;
            if (std::clamp(first, 0, range) != first_) {
                ScrollTo(first);
                Redraw();
            }
            return true;
        }
        const int item = ItemAt(fx, fy);
        if (item == 0 || item == hot_) return false;
        hot_ = item;
        Redraw();
        return true;
    }
    case msg::kLButtonUp: {
        if (std::exchange(draggingThumb_, false)) {
            clickFromMouse_ = Bounds().Contains(fx, fy);
            return true;
        }
        // A release on an item picks it, whether the press opened the list
        // (press, drag, release) or fell on the item itself.
        if (const int item = ItemAt(fx, fy); item != 0) Choose(item);
        // The window follows a release inside the bounds with a click.
        clickFromMouse_ = Bounds().Contains(fx, fy);
        return true;
    }
    default: return false;
    }
}

void UiComboBox::Paint(UiWindow& window, Graphics& g, int state) {
    const bool focused = HasFocus(window);
    // The list is open only while the box has the focus and the window is
    // active: the window repaints a control that lost the focus, and the
    // focused one of a window that went inactive, in state 2 (also the look
    // of a press, but then the control holds the press). The list closes
    // then, its area painted by this same repaint.
    const int index = window.IndexOf(this);
    const bool deactivated = state == kStatePressed && window.PressedControl() != index;
    if (open_ && (!focused || deactivated)) Close(false);
    const bool disabled = disabled_ != 0;
    // Without the focus, state 2 means the focus just went, not a press.
    if (state == kStatePressed && !focused) state = kStateNormal;
    const RectF box = BoxBounds();
    PaintDropBox(g, box, state, disabled, open_);
    const RectF button = DropButtonArea(box);
    const qh::Text shown = selection_ >= 1 && selection_ <= static_cast<int>(items_.size()) ? items_[selection_ - 1].text
                                                                                          : qh::Text();
    DrawText(g, shown, font_, disabled ? Style().disabledText : textColor_,
             MakeRect(box.left + kTextPad, box.top, std::max(0.0f, button.left - box.left - kTextPad - 2), box.height),
             3, 3, 0, kFormatNoWrap);
    if (!open_) return;

    PaintDropList(g, ListBounds());
    const RectF rows = RowsArea();
    const float row = RowHeight();
    const int count = static_cast<int>(items_.size());
    for (int i = 0; i < rows_ && first_ + i < count; ++i) {
        const int item = first_ + i + 1;
        const RectF r = MakeRect(rows.left, rows.top + i * row, rows.width, row);
        if (item == selection_ || item == hot_) PaintItemHighlight(g, r, item == selection_, disabled);
        DrawText(g, items_[item - 1].text, font_, item == selection_ ? Style().selectedText : Style().text,
                 MakeRect(r.left + kTextPad - kListPad, r.top, std::max(0.0f, r.width - kTextPad), r.height), 3, 3, 0,
                 kFormatNoWrap);
    }
    if (Scrolls()) PaintScrollBar(g, Track(), Thumb(), draggingThumb_ ? kStatePressed : kStateNormal, disabled);
}

}  // namespace qh
