// The look of the controls, in one place: the palette of the skinned style
// and the painters of the faces that several kinds share (push faces, input
// boxes, check marks, focus rings, arrows). Every kind draws its visual
// states (PaintState) through these, so the states look alike across kinds
// and on both graphics backends.
#pragma once

#include "toolkit/geometry.h"
#include "toolkit/graphics.h"
#include "toolkit/image.h"

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

// The selected part of an edit's text: the accent while the edit has the
// focus, the light accent otherwise. Selected text is drawn in selectedText.
void PaintTextSelection(Graphics& g, const RectF& r, bool focused);
// An edit's caret: a vertical line one pixel wide from top to bottom, in
// the pixel column of x.
void PaintCaret(Graphics& g, float x, float top, float bottom, Argb color);

// The closed part of a drop-down box: an input box with an arrow button at
// its right end. The arrow points up while the list is open.
void PaintDropBox(Graphics& g, const RectF& bounds, int state, bool disabled, bool open);
// Where the arrow button of a drop-down box of these bounds lies; the text
// stops before it.
RectF DropButtonArea(const RectF& bounds);
// The panel of an open drop-down list: opaque, so it covers the controls
// beneath it, with a frame.
void PaintDropList(Graphics& g, const RectF& r);

// --- Lists, scroll bars, navigation buttons and callouts ---

// The highlight of one row or item of a list: the selected one filled with
// the accent colour (its text is then drawn in selectedText), the one under
// the mouse with the light accent. A disabled list shows its selection grey.
void PaintItemHighlight(Graphics& g, const RectF& r, bool selected, bool disabled);

// The header band of a list across r: a soft face with a line under it.
void PaintListHeader(Graphics& g, const RectF& r, bool disabled);

// A vertical scroll bar: a quiet track and a rounded thumb. thumbState is
// kStateHover while the mouse is over the bar and kStatePressed while the
// thumb is dragged.
void PaintScrollBar(Graphics& g, const RectF& track, const RectF& thumb, int thumbState, bool disabled);

// The face of a tab button (picture over text, on the window's skin): only a
// soft glow under the mouse, a light raised card when selected, a darker one
// while pressed.
void PaintTabFace(Graphics& g, const RectF& bounds, int state, bool selected, bool disabled);

// The colours of a side button (a row of a side menu): its face under the
// mouse and its face when selected or held down, then its text at rest,
// under the mouse and when selected or held down.
struct SideButtonColors {
    Argb hoverFace;
    Argb selectedFace;
    Argb text;
    Argb hoverText;
    Argb selectedText;
};
// The toolkit's own: the light accent under the mouse, the accent colour
// with white text when selected.
const SideButtonColors& DefaultSideButtonColors();

// The face of a side button in a state: nothing at rest, colors.hoverFace
// under the mouse, colors.selectedFace when selected or pressed, a ring when
// focused.
void PaintSideFace(Graphics& g, const RectF& bounds, int state, bool selected, bool disabled,
                   const SideButtonColors& colors);
// The colour of a side button's text in a state: the hover colour whenever
// the mouse is over it (selected or not), so that every entry answers the
// mouse.
Argb SideTextColor(const SideButtonColors& colors, int state, bool selected, bool disabled);

// A small arrow in box pointing right (or left).
void PaintSideArrow(Graphics& g, const RectF& box, bool right, Argb color);

// Where the pointer of a callout sits: none, on its top edge pointing up
// (the callout hangs below what it explains), or on its bottom edge pointing
// down (it stands above it).
enum class CalloutPointer { kNone, kTop, kBottom };
// The height the pointer takes from the callout's bounds.
inline constexpr float kCalloutPointerHeight = 8.0f;
// A callout: a light rounded panel with a soft shadow and a pointer whose
// tip is at x = pointerX, blended with opacity 0-255 (the tip panel fades
// in). The body is bounds less the pointer's height.
void PaintCallout(Graphics& g, const RectF& bounds, CalloutPointer pointer, float pointerX, int opacity);

// The ground of the programs' dialogs (the about window, the updater, the
// message box) over their skin: a white band that fades in under the
// caption, a light body, a band that fades out at the bottom and a white
// line above the button row, from lineInset to width - lineInset.
void PaintDialogBands(Graphics& g, float width, float height, float lineInset);

// A popup menu's panel across r: opaque and light, with a frame, and a soft
// shadow in the 4 pixels right of and below r.
void PaintMenuPanel(Graphics& g, const RectF& r);
// The row of a menu that the mouse or the keys point at: the accent colour
// (its text then in selectedText), only the light accent when the item is
// not available.
void PaintMenuHighlight(Graphics& g, const RectF& r, bool enabled);

// An image centred in box, scaled down to fit with its proportions kept
// (never enlarged), at half strength when disabled.
void PaintImageFitted(Graphics& g, const Bitmap& image, const RectF& box, bool disabled, int opacity = 255);
// The same for a UiImage, drawn from its double picture at 150 % and more.
void PaintImageFitted(Graphics& g, const UiImage& image, const RectF& box, bool disabled, int opacity = 255);

}  // namespace qh
