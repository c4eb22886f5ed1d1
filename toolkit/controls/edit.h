// UiEdit (kind 9): a one-line text box. It takes typed characters that its
// input mode allows (double-byte GBK characters arrive as two bytes and are
// put together here), moves its caret and selection with the edit keys the
// window hands over as characters, exchanges text with the clipboard, and
// scrolls sideways to keep the caret in view. An OnDraw hook may draw under
// the text (the calculator's unit suffixes).
#pragma once

#include <algorithm>
#include <functional>
#include <vector>

#include "toolkit/controls/text_control.h"
#include "toolkit/style_painter.h"

namespace qh {

// Which characters an edit takes.
enum EditInputMode : int {
    kEditAny = 0,
    kEditReadOnly = 1,
    kEditAnyToo = 2,  // takes what kEditAny takes
    kEditDigits = 3,
    kEditNumber = 4,  // digits and "."
};

// (window index, control index), called on every paint after the box and
// before the text.
using EditDrawHook = std::function<void(int, int)>;
// Called with the new text whenever it changes: typed, deleted, cut,
// pasted or set by the program.
using EditChangeHandler = std::function<void(const qh::Text& text)>;

class UiEdit : public UiTextControl {
public:
    void Create(HostHandle hwnd, const qh::Text& text, float left, float top, float width, float height,
                int inputMode = kEditAny, Argb backColor = Style().boxFill, Argb borderColor = Style().boxBorder,
                Argb textColor = MakeArgb(0x000000, 230), const FontChoice& font = {}, bool visible = true);

    // The text; setting it replaces the text, puts the caret at the start,
    // clears the selection and repaints.
    qh::Text Text(const qh::Text& text = qh::Text(), bool set = false);
    void SetText(const qh::Text& text) { Text(text, true); }
    int InputMode(int value = 0, bool set = false);
    void OnDraw(EditDrawHook hook) { onDraw_ = std::move(hook); }
    void OnChange(EditChangeHandler handler) { onChange_ = std::move(handler); }

    // The caret and the selection as byte offsets into the text; the
    // selection runs from SelectionStart to SelectionEnd (equal when empty).
    int Caret() const { return IsBound() ? static_cast<int>(caret_) : 0; }
    int SelectionStart() const { return IsBound() ? static_cast<int>(std::min(caret_, anchor_)) : 0; }
    int SelectionEnd() const { return IsBound() ? static_cast<int>(std::max(caret_, anchor_)) : 0; }
    // Where the caret was last drawn, in window coordinates (empty before the
    // first paint with the focus).
    RectF CaretBounds() const { return caretRect_; }
    // The caret's blink interval in milliseconds.
    static constexpr int kBlinkMs = 530;

    std::intptr_t ControlProc(UiWindow& window, int message, std::intptr_t wParam, std::intptr_t lParam) override;
    ControlTraits Traits() const override {
        ControlTraits t;
        t.editKeys = true;
        t.noKeyboardClick = true;
        t.role = AccRole::kEditableText;
        t.nameFrom = AccNameFrom::kRowCaption;
        return t;
    }

protected:
    void Paint(UiWindow& window, Graphics& g, int state) override;
    bool Character(UiWindow& window, int ch, bool editKey) override;
    bool Tick(UiWindow& window) override;
    bool Mouse(UiWindow& window, int message, int x, int y) override;

private:
    // Whether a single-byte character may be typed or pasted in the mode.
    bool Accepts(unsigned char c) const;
    bool AcceptsDoubleByte() const { return mode_ == kEditAny || mode_ == kEditAnyToo; }
    bool ReadOnly() const { return mode_ == kEditReadOnly; }
    // The text with only what the mode accepts.
    qh::Text Filter(const qh::Text& text) const;
    bool EditKey(UiWindow& window, int key);
    // A typed character (not an edit key).
    bool Type(int ch);
    void RaiseChange();
    // Replaces the selection with text (already filtered) and puts the caret
    // after it.
    void ReplaceSelection(const qh::Text& text);
    bool DeleteSelection();
    void MoveCaret(std::size_t to, bool extend);
    // The offset of the character boundary before or after at.
    std::size_t PreviousBoundary(std::size_t at) const;
    std::size_t NextBoundary(std::size_t at) const;
    // Brings the measured positions of the character boundaries up to date
    // with the text, remeasuring only after the part that changed.
    void Layout(Graphics& g);
    float XOf(std::size_t offset) const;
    // The boundary nearest to a window x.
    std::size_t OffsetAt(Graphics& g, int x);
    RectF Inner() const;
    // Shows the caret at once and restarts its blink, after it moved.
    void Changed();
    bool HasFocus(UiWindow& window) const;
    void StopBlink(UiWindow& window);

    int mode_ = kEditAny;
    Argb backColor_ = 0;
    Argb borderColor_ = 0;
    EditDrawHook onDraw_;
    EditChangeHandler onChange_;

    std::size_t caret_ = 0;
    std::size_t anchor_ = 0;
    int pendingLead_ = 0;  // the first byte of a double-byte character, until its second arrives
    float scroll_ = 0;     // how far the text is scrolled to the left

    // The measured layout: for each character boundary its byte offset and
    // its x from the start of the text.
    qh::Text laidOut_;
    UiFont laidOutFont_;
    std::vector<std::size_t> offsets_;
    std::vector<float> xs_;
    float barWidth_ = 0;     // the measured width of the probe "|"
    float leading_ = 0;      // space a backend puts before the first glyph
    float lineHeight_ = 0;

    bool caretOn_ = true;
    bool blinking_ = false;
    RectF caretRect_;
    RectI toldCaret_{-1, -1, 0, 0};
};

}  // namespace qh
