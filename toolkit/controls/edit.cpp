#include "toolkit/controls/edit.h"

#include <cmath>

#include "toolkit/window.h"
#include "toolkit/draw.h"
#include "toolkit/messages.h"
#include "toolkit/toolkit.h"

namespace qh {
namespace {

constexpr float kPadX = 4.0f;
constexpr float kPadY = 2.0f;
// Text is measured and drawn on one line, never wrapped.
constexpr TextFormat kLineFormat{0, 1, 0, 0, kFormatNoWrap};

// A GBK second byte; anything else after a first byte is no character.
bool IsTrailByte(int c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }

RectF Intersect(const RectF& a, const RectF& b) {
    const float l = std::max(a.left, b.left), t = std::max(a.top, b.top);
    const float r = std::min(a.Right(), b.Right()), btm = std::min(a.Bottom(), b.Bottom());
    return MakeRect(l, t, std::max(0.0f, r - l), std::max(0.0f, btm - t));
}

}  // namespace

void UiEdit::Create(HostHandle hwnd, const qh::Text& text, float left, float top, float width, float height,
                    int inputMode, Argb backColor, Argb borderColor, Argb textColor, const FontChoice& font,
                    bool visible) {
    if (IsBound()) return;
    mode_ = inputMode >= kEditAny && inputMode <= kEditNumber ? inputMode : kEditAny;
    backColor_ = backColor;
    borderColor_ = borderColor;
    caret_ = anchor_ = 0;
    CreateText(hwnd, kKindEdit, text, MakeRect(left, top, width, height), textColor, font, visible, true,
               kCursorIBeam);
}

qh::Text UiEdit::Text(const qh::Text& text, bool set) {
    return OnWindowThread(qh::Text(), [&] {
        if (!IsBound()) return qh::Text();
        if (set) {
            const bool differs = text_ != text;
            text_ = text;
            caret_ = anchor_ = 0;
            pendingLead_ = 0;
            scroll_ = 0;
            Changed();
            Redraw();
            if (differs) RaiseChange();
        }
        return text_;
    });
}

int UiEdit::InputMode(int value, bool set) {
    return OnWindowThread(0, [&] {
        if (!IsBound()) return 0;
        if (set && value >= kEditAny && value <= kEditNumber) mode_ = value;
        return mode_;
    });
}

std::intptr_t UiEdit::ControlProc(UiWindow& window, int message, std::intptr_t wParam, std::intptr_t lParam) {
    // A hidden or destroyed edit has no caret to blink.
    if (message == msg::kDestroy || message == msg::kHidden) StopBlink(window);
    return UiControl::ControlProc(window, message, wParam, lParam);
}

bool UiEdit::Accepts(unsigned char c) const {
    if (c < 32 || c > 126) return false;
    switch (mode_) {
    case kEditReadOnly: return false;
    case kEditDigits: return c >= '0' && c <= '9';
    case kEditNumber: return (c >= '0' && c <= '9') || c == '.';
    default: return true;
    }
}

qh::Text UiEdit::Filter(const qh::Text& text) const {
    qh::Text out;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (IsLeadByte(c)) {
            // A first byte without a valid second one is dropped alone, and
            // what follows it is read afresh.
            if (i + 1 < text.size() && IsTrailByte(static_cast<unsigned char>(text[i + 1]))) {
                if (AcceptsDoubleByte()) out.append(text, i, 2);
                i += 2;
            } else {
                ++i;
            }
            continue;
        }
        if (Accepts(c)) out += static_cast<char>(c);
        ++i;
    }
    return out;
}

bool UiEdit::Character(UiWindow& window, int ch, bool editKey) {
    // A disabled edit takes no keys, even when it kept the focus.
    if (disabled_ != 0) return false;
    const qh::Text before = text_;
    const bool handled = editKey ? EditKey(window, ch) : Type(ch);
    if (text_ != before) RaiseChange();
    return handled;
}

void UiEdit::RaiseChange() {
    if (!onChange_) return;
    const EditChangeHandler handler = onChange_;  // the handler may replace itself
    handler(text_);
}

bool UiEdit::Type(int ch) {
    if (ch < 0 || ch > 0xFF) return false;
    if (pendingLead_ != 0) {
        const int lead = pendingLead_;
        pendingLead_ = 0;
        if (IsTrailByte(ch)) {
            // The pair is one character: inserted whole, or dropped whole
            // where the mode takes no double-byte text.
            if (!AcceptsDoubleByte()) return true;
            ReplaceSelection(qh::Text{static_cast<char>(lead), static_cast<char>(ch)});
            Changed();
            Redraw();
            return true;
        }
    }
    if (IsLeadByte(static_cast<unsigned char>(ch))) {
        pendingLead_ = ch;
        return true;
    }
    if (ch == 8) {
        if (ReadOnly()) return false;
        if (!DeleteSelection()) {
            if (caret_ == 0) return false;
            const std::size_t from = PreviousBoundary(caret_);
            text_.erase(from, caret_ - from);
            caret_ = anchor_ = from;
        }
        Changed();
        Redraw();
        return true;
    }
    if (!Accepts(static_cast<unsigned char>(ch))) return false;
    ReplaceSelection(qh::Text(1, static_cast<char>(ch)));
    Changed();
    Redraw();
    return true;
}

bool UiEdit::EditKey(UiWindow& window, int key) {
    pendingLead_ = 0;
    const bool shift = TheHost().KeyPressed(vk::kShift);
    const std::size_t start = std::min(caret_, anchor_), end = std::max(caret_, anchor_);
    switch (key) {
    case vk::kHome: MoveCaret(0, shift); break;
    case vk::kEnd: MoveCaret(text_.size(), shift); break;
    case vk::kLeft:
        // Without Shift a selection collapses to its edge before moving.
        if (!shift && start != end) MoveCaret(start, false);
        else MoveCaret(PreviousBoundary(caret_), shift);
        break;
    case vk::kRight:
        if (!shift && start != end) MoveCaret(end, false);
        else MoveCaret(NextBoundary(caret_), shift);
        break;
    case vk::kDelete:
        if (ReadOnly()) return false;
        if (!DeleteSelection()) {
            if (caret_ >= text_.size()) return false;
            text_.erase(caret_, NextBoundary(caret_) - caret_);
            anchor_ = caret_;
        }
        break;
    case 'A':
        anchor_ = 0;
        caret_ = text_.size();
        break;
    case 'C':
    case 'X':
        if (start == end) return false;
        TheHost().SetClipboardText(window.Handle(), text_.substr(start, end - start));
        // A read-only text is copied but never cut.
        if (key == 'X' && !ReadOnly()) DeleteSelection();
        break;
    case 'V': {
        if (ReadOnly()) return false;
        // Pasted text obeys the mode: what it rejects is dropped, the rest
        // goes in. A clipboard with nothing acceptable changes nothing.
        const qh::Text pasted = Filter(TheHost().ClipboardText(window.Handle()));
        if (pasted.empty()) return false;
        ReplaceSelection(pasted);
        break;
    }
    default: return false;
    }
    Changed();
    Redraw();
    return true;
}

void UiEdit::ReplaceSelection(const qh::Text& text) {
    const std::size_t start = std::min(caret_, anchor_), end = std::max(caret_, anchor_);
    text_.replace(start, end - start, text);
    caret_ = anchor_ = start + text.size();
}

bool UiEdit::DeleteSelection() {
    if (caret_ == anchor_) return false;
    const std::size_t start = std::min(caret_, anchor_), end = std::max(caret_, anchor_);
    text_.erase(start, end - start);
    caret_ = anchor_ = start;
    return true;
}

void UiEdit::MoveCaret(std::size_t to, bool extend) {
    caret_ = std::min(to, text_.size());
    if (!extend) anchor_ = caret_;
}

std::size_t UiEdit::NextBoundary(std::size_t at) const {
    if (at >= text_.size()) return text_.size();
    // Walked from the start: a byte with the high bit set begins a pair.
    std::size_t i = 0;
    while (i <= at && i < text_.size()) i += IsLeadByte(static_cast<unsigned char>(text_[i])) ? 2 : 1;
    return std::min(i, text_.size());
}

std::size_t UiEdit::PreviousBoundary(std::size_t at) const {
    std::size_t i = 0, previous = 0;
    while (i < at && i < text_.size()) {
        previous = i;
        i += IsLeadByte(static_cast<unsigned char>(text_[i])) ? 2 : 1;
    }
    return previous;
}

void UiEdit::Layout(Graphics& g) {
    const bool fontChanged = laidOutFont_.face != font_.face || laidOutFont_.size != font_.size ||
                             laidOutFont_.style != font_.style || lineHeight_ <= 0;
    if (!fontChanged && laidOut_ == text_ && !offsets_.empty()) return;
    if (fontChanged) {
        // The probe "|" follows every measured prefix, so trailing spaces
        // count; its own width is taken off again. A backend that pads text
        // (GDI+) pads "|" and "||" alike, which gives the padding.
        const RectF bar = g.MeasureString("|", font_, RectF{}, kLineFormat);
        const RectF bars = g.MeasureString("||", font_, RectF{}, kLineFormat);
        barWidth_ = bar.width;
        leading_ = std::max(0.0f, (2 * bar.width - bars.width) / 2);
        lineHeight_ = std::max(1.0f, bar.height);
        laidOutFont_ = font_;
        laidOut_.clear();
        offsets_.clear();
        xs_.clear();
    }
    std::size_t common = 0;
    while (common < laidOut_.size() && common < text_.size() && laidOut_[common] == text_[common]) ++common;

    std::vector<std::size_t> offsets{0};
    for (std::size_t i = 0; i < text_.size();) {
        i = std::min(text_.size(), i + (IsLeadByte(static_cast<unsigned char>(text_[i])) ? 2 : 1));
        offsets.push_back(i);
    }
    // A boundary's x depends only on the text before it: the ones within the
    // unchanged start keep their measure.
    std::size_t keep = 0;
    while (keep < offsets.size() && keep < offsets_.size() && offsets[keep] == offsets_[keep] &&
           offsets[keep] <= common) {
        ++keep;
    }
    std::vector<float> xs(xs_.begin(), xs_.begin() + static_cast<std::ptrdiff_t>(keep));
    for (std::size_t i = keep; i < offsets.size(); ++i) {
        float x = 0;
        if (offsets[i] > 0) {
            x = g.MeasureString(text_.substr(0, offsets[i]) + "|", font_, RectF{}, kLineFormat).width - barWidth_;
        }
        xs.push_back(std::max(x, xs.empty() ? 0.0f : xs.back()));
    }
    offsets_ = std::move(offsets);
    xs_ = std::move(xs);
    laidOut_ = text_;
    // The text may have been replaced behind the edit's back (through the
    // shared Text operation): the caret and anchor stay on boundaries.
    auto snap = [&](std::size_t& at) {
        auto it = std::upper_bound(offsets_.begin(), offsets_.end(), at);
        at = *(it - 1);
    };
    snap(caret_);
    snap(anchor_);
}

float UiEdit::XOf(std::size_t offset) const {
    if (offsets_.empty()) return 0;
    auto it = std::upper_bound(offsets_.begin(), offsets_.end(), offset);
    return xs_[static_cast<std::size_t>(it - offsets_.begin()) - 1];
}

std::size_t UiEdit::OffsetAt(Graphics& g, int x) {
    Layout(g);
    const float at = static_cast<float>(x) - (Inner().left - scroll_);
    std::size_t best = 0;
    for (std::size_t i = 1; i < offsets_.size(); ++i) {
        if (std::fabs(xs_[i] - at) < std::fabs(xs_[best] - at)) best = i;
    }
    return offsets_.empty() ? 0 : offsets_[best];
}

RectF UiEdit::Inner() const {
    const RectF b = Bounds();
    return MakeRect(b.left + kPadX, b.top + kPadY, std::max(0.0f, b.width - 2 * kPadX),
                    std::max(0.0f, b.height - 2 * kPadY));
}

bool UiEdit::HasFocus(UiWindow& window) const {
    const int index = window.IndexOf(this);
    return index != 0 && window.FocusedControl() == index;
}

void UiEdit::Changed() {
    caretOn_ = true;
    UiWindow* w = Window();
    if (w != nullptr && blinking_) {
        // The caret stays solid for a whole interval after it moved.
        const int index = w->IndexOf(this);
        w->StopControlTimer(index);
        w->StartControlTimer(index, kBlinkMs, true);
    }
}

void UiEdit::StopBlink(UiWindow& window) {
    if (blinking_) window.StopControlTimer(window.IndexOf(this));
    blinking_ = false;
    toldCaret_ = RectI{-1, -1, 0, 0};
}

bool UiEdit::Tick(UiWindow& window) {
    if (!HasFocus(window)) {
        StopBlink(window);
        caretOn_ = false;
    } else {
        caretOn_ = !caretOn_;
    }
    Redraw();
    return true;
}

bool UiEdit::Mouse(UiWindow& window, int message, int x, int) {
    Graphics* g = window.BackGraphics();
    if (g == nullptr || disabled_ != 0) return false;
    if (message == msg::kLButtonDown) {
        pendingLead_ = 0;
        MoveCaret(OffsetAt(*g, x), TheHost().KeyPressed(vk::kShift));
    } else if (message == msg::kMouseMove) {
        // Dragging with the button held extends the selection.
        const int index = window.IndexOf(this);
        if (index == 0 || window.PressedControl() != index) return false;
        const std::size_t at = OffsetAt(*g, x);
        if (at == caret_) return true;
        MoveCaret(at, true);
    } else {
        return false;
    }
    Changed();
    Redraw();
    return true;
}

void UiEdit::Paint(UiWindow& window, Graphics& g, int state) {
    Layout(g);
    const bool disabled = disabled_ != 0;
    const bool focused = HasFocus(window) && !disabled;
    if (focused && !blinking_) {
        blinking_ = true;
        caretOn_ = true;
        window.StartControlTimer(window.IndexOf(this), kBlinkMs, true);
    } else if (!focused && blinking_) {
        StopBlink(window);
    }

    const RectF b = Bounds();
    const int boxState = focused ? kStateFocused : state == kStateHover ? kStateHover : kStateNormal;
    PaintInputBox(g, b, boxState, disabled, backColor_, borderColor_);
    if (onDraw_) onDraw_(window.WindowIndex(), window.IndexOf(this));

    // The caret stays in view: the text scrolls sideways as far as needed,
    // and back when it gets shorter.
    const RectF inner = Inner();
    const float room = std::max(0.0f, inner.width - 1);
    const float caretX = XOf(caret_), total = xs_.empty() ? 0.0f : xs_.back();
    if (caretX - scroll_ > room) scroll_ = caretX - room;
    if (caretX < scroll_) scroll_ = caretX;
    scroll_ = std::max(0.0f, std::min(scroll_, total - room));

    const float textLeft = inner.left - scroll_;
    const float lineTop = inner.top + (inner.height - lineHeight_) / 2;
    const RectF layout = MakeRect(textLeft - leading_, inner.top, total + 2 * leading_ + 2 * barWidth_ + 8, inner.height);
    g.SetClip(inner);
    const std::size_t start = std::min(caret_, anchor_), end = std::max(caret_, anchor_);
    RectF selection;
    if (focused && start != end) {
        selection = Intersect(inner, MakeRect(textLeft + XOf(start), lineTop, XOf(end) - XOf(start), lineHeight_));
        PaintTextSelection(g, selection, true);
    }
    g.DrawString(text_, font_, disabled ? Style().disabledText : textColor_, layout, kLineFormat);
    if (selection.width > 0) {
        // The selected part again, in the selection's text colour.
        g.SetClip(selection);
        g.DrawString(text_, font_, Style().selectedText, layout, kLineFormat);
        g.SetClip(inner);
    }

    if (!focused) {
        toldCaret_ = RectI{-1, -1, 0, 0};
        return;
    }
    const float x = std::floor(textLeft + caretX);
    caretRect_ = MakeRect(x, lineTop, 1, lineHeight_);
    if (caretOn_) PaintCaret(g, x, lineTop, lineTop + lineHeight_, textColor_ | 0xFF000000u);
    // The input method puts its window beside the caret.
    const RectI told{static_cast<int>(x), static_cast<int>(lineTop), 1, static_cast<int>(std::ceil(lineHeight_))};
    if (told.left != toldCaret_.left || told.top != toldCaret_.top || told.height != toldCaret_.height) {
        toldCaret_ = told;
        TheHost().SetCaretRect(window.Handle(), told);
    }
}

}  // namespace qh
