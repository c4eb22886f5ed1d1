// A modal message box drawn by the toolkit: a small skinned window centred
// on the screen with an icon, the message and its buttons. Its owner takes
// no input while it is open, and the call returns the answer once the box
// has closed; meanwhile the platform's modal loop serves every window of the
// thread.
#pragma once

#include "runtime/text.h"
#include "toolkit/geometry.h"
#include "toolkit/platform.h"

namespace qh {

// Kinds of box, as Win32 numbers them: the buttons in the low bits, the
// icon in the next ones.
inline constexpr int kBoxOk = 0;
inline constexpr int kBoxOkCancel = 1;
inline constexpr int kBoxIconError = 16;
inline constexpr int kBoxIconQuestion = 32;
inline constexpr int kBoxIconWarning = 48;
inline constexpr int kBoxIconInformation = 64;

// The answers: "确认" is 0; "取消", Esc and closing the box are 1.
inline constexpr int kAnswerConfirm = 0;
inline constexpr int kAnswerCancel = 1;

// The title when the caller gives none.
inline constexpr char kDefaultBoxTitle[] = "提示：";

// Where the message stands in the box: right of the icon, or across the box
// when it has none. It wraps to the width and stands centred vertically.
RectF MessageBoxTextRect(bool withIcon);

// Shows the box and waits for its answer. owner may be 0.
int ShowMessageBox(Platform& platform, HostHandle owner, const Text& text, const Text& title = Text(),
                   int kind = kBoxOk);

}  // namespace qh
