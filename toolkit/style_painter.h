// The look of the controls, in one place: the palette of the skinned style
// and the painters of the faces that several kinds share (push faces, input
// boxes, check marks, focus rings, arrows). Every kind draws its visual
// states (PaintState) through these, so the states look alike across kinds
// and on both graphics backends.
#pragma once

#include "toolkit/geometry.h"
#include "toolkit/graphics.h"

namespace qh {

// The colours of the style: a soft, light face with a blue-green accent.
struct StylePalette {
    Argb faceTop, faceBottom;              // a resting push face, top to bottom
    Argb hoverTop, hoverBottom;            // under the mouse
    Argb pressedTop, pressedBottom;        // held down
    Argb disabledTop, disabledBottom;      // disabled
    Argb border, hoverBorder, pressedBorder, disabledBorder;
    Argb accent;                           // focus rings, checked marks, selection
    Argb accentLight;                      // selected rows and items, the hover of a list
    Argb text, disabledText, selectedText;
    Argb boxFill, boxBorder;               // input boxes (edit, combo box)
};

// The palette of the whole toolkit.
const StylePalette& Style();

// Corner diameter of push faces and boxes.
inline constexpr float kFaceRounding = 6.0f;

// A push face for a state (PaintState, or -1 / 3 for the focused looks),
// disabled when disabled is set. opacity 0-255 blends it over what is there
// (the buttons fade a new face in). A focused face gets an accent ring.
void PaintPushFace(Graphics& g, const RectF& bounds, int state, bool disabled, int opacity = 255);

// An input box: its fill, a frame that shows hover and focus.
void PaintInputBox(Graphics& g, const RectF& bounds, int state, bool disabled, Argb fill, Argb border);

// A check box's square, with a tick when checked.
void PaintCheckMark(Graphics& g, const RectF& box, int state, bool checked, bool disabled);
// A radio button's circle, with a dot when checked.
void PaintRadioMark(Graphics& g, const RectF& box, int state, bool checked, bool disabled);

// A small arrow in box pointing down (or up).
void PaintArrow(Graphics& g, const RectF& box, bool down, Argb color);

// Whether a state is one of the focused looks.
constexpr bool IsFocusedState(int state) { return state == -1 || state == 3; }

}  // namespace qh
