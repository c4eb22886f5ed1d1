// Message and event numbers of the toolkit. They are the Win32 numbers on
// every platform, so application handlers read the same everywhere; the X11
// and headless hosts synthesise them.
#pragma once

#include <cstdint>

namespace qh::msg {

constexpr int kDestroy = 2;
constexpr int kMove = 3;
constexpr int kSize = 5;
constexpr int kActivate = 6;
constexpr int kKillFocus = 8;
constexpr int kSetText = 12;
constexpr int kPaint = 15;
constexpr int kClose = 16;
constexpr int kGetMinMaxInfo = 36;
constexpr int kKeyDown = 256;
constexpr int kKeyUp = 257;
constexpr int kChar = 258;
constexpr int kSysKeyDown = 260;
constexpr int kCommand = 273;
constexpr int kSysCommand = 274;
constexpr int kTimer = 275;
constexpr int kMouseMove = 512;
constexpr int kLButtonDown = 513;
constexpr int kLButtonUp = 514;
constexpr int kLButtonDblClk = 515;
constexpr int kRButtonDown = 516;
constexpr int kRButtonUp = 517;
constexpr int kMouseWheel = 522;
constexpr int kMouseLeave = 675;
constexpr int kExitSizeMove = 562;
// The window's scale changed (another monitor, or the user's setting): the
// host has already moved and sized it; the toolkit redraws at the new scale.
constexpr int kDpiChanged = 0x02E0;
constexpr int kUser = 1024;  // the programs' own quit request

constexpr int kDoubleClickMark = 10086;  // wParam of a press that is a double click
constexpr int kEditKeyMark = 10086;      // lParam of an edit key re-sent as a character
constexpr int kSysKeyForward = 10240;
constexpr int kBackgroundHandle = 10241;
constexpr int kBackgroundColor = 10242;
constexpr int kFadeTimer = 444660;
constexpr int kClick = 444660;
constexpr int kRadioUncheck = 444661;  // sent to the other radio buttons of a group
constexpr int kHidden = 444662;
constexpr int kShown = 444663;
constexpr int kCtrlTab = 444664;

// System commands (wParam of kSysCommand; the low four bits are the system's).
constexpr int kScMinimize = 0xF020;
constexpr int kScMaximize = 0xF030;
constexpr int kScClose = 0xF060;
constexpr int kScRestore = 0xF120;

}  // namespace qh::msg

namespace qh::vk {
constexpr int kTab = 9;
constexpr int kEnter = 13;
constexpr int kShift = 16;
constexpr int kControl = 17;
constexpr int kEscape = 27;
constexpr int kSpace = 32;
constexpr int kEnd = 35;
constexpr int kHome = 36;
constexpr int kLeft = 37;
constexpr int kUp = 38;
constexpr int kRight = 39;
constexpr int kDown = 40;
constexpr int kDelete = 46;
constexpr int kF4 = 115;
constexpr int kF6 = 117;
}  // namespace qh::vk
