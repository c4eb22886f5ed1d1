// Edits as a user meets them: typing in each input mode, double-byte
// characters, the edit and clipboard keys, the caret and the selection on
// the screen, sideways scrolling, the mouse, and the drawing hook.
#include "toolkit/controls/edit.h"

#include <memory>
#include <optional>

#include "tests/toolkit/toolkit_fixture.h"

namespace qh {
namespace {

// The caret rectangle the host was last given, where the host keeps it (the
// headless host does; the Win32 one hands it to the input method).
template <class H>
std::optional<RectI> ToldCaret(H& h, HostHandle w) {
    if constexpr (requires { h.CaretRect(w); }) {
        return h.CaretRect(w);
    } else {
        return std::nullopt;
    }
}

class EditTest : public ToolkitTest {
protected:
    UiEdit& Make(int mode, const Text& text = "", RectF r = MakeRect(20, 40, 160, 24)) {
        edits.push_back(std::make_unique<UiEdit>());
        UiEdit& e = *edits.back();
        e.Create(hwnd, text, r.left, r.top, r.width, r.height, mode);
        EXPECT_TRUE(e.IsBound());
        EXPECT_TRUE(window.FocusControl(e.Id()));
        return e;
    }
    // Typed characters, one message a byte, as the hosts deliver GBK text.
    void Type(const Text& text) {
        for (unsigned char c : text) host.Send(hwnd, msg::kChar, c, 1);
    }
    // Bytes straight to an edit's procedure: the edit, not the host, puts
    // double-byte characters together.
    void Bytes(UiEdit& e, const Text& bytes) {
        for (unsigned char c : bytes) window.SendControlMessage(window.IndexOf(&e), msg::kChar, c, 0, false);
    }
    // A key that makes no character (an arrow, Home, Delete).
    void Key(int vk) {
        host.Send(hwnd, msg::kKeyDown, vk, 1);
        host.Send(hwnd, msg::kKeyUp, vk, 1);
    }
    void ShiftKey(int vk) {
        host.HoldKey(vk::kShift, true);
        Key(vk);
        host.HoldKey(vk::kShift, false);
    }
    // Ctrl with a letter: the system sends the key and a control character.
    void Ctrl(char letter) {
        host.HoldKey(vk::kControl, true);
        host.Send(hwnd, msg::kKeyDown, letter, 1);
        host.Send(hwnd, msg::kChar, letter - 'A' + 1, 1);
        host.Send(hwnd, msg::kKeyUp, letter, 1);
        host.HoldKey(vk::kControl, false);
    }
    void Backspace() {
        host.Send(hwnd, msg::kKeyDown, 8, 1);
        host.Send(hwnd, msg::kChar, 8, 1);
        host.Send(hwnd, msg::kKeyUp, 8, 1);
    }
    // How many pixels of an area show the colour.
    int Count(RectF area, Argb color) {
        int n = 0;
        for (int y = static_cast<int>(area.top); y < static_cast<int>(area.Bottom()); ++y) {
            for (int x = static_cast<int>(area.left); x < static_cast<int>(area.Right()); ++x) {
                n += Near(ScreenAt(x, y), color | 0xFF000000u);
            }
        }
        return n;
    }

    std::vector<std::unique_ptr<UiEdit>> edits;
};

TEST_F(EditTest, TheInputModeDecidesWhatTypingInserts) {
    struct Case {
        int mode;
        Text start, typed, expected;
    };
    const Case cases[] = {
        {kEditNumber, "", "12.5abc Z", "12.5"},
        {kEditDigits, "", "12.5x-", "125"},
        {kEditReadOnly, "7.5", "12.5ab", "7.5"},
        {kEditAny, "", "a 1.%~", "a 1.%~"},
        {kEditAnyToo, "", "a 1.%~", "a 1.%~"},
    };
    for (const Case& c : cases) {
        UiEdit& e = Make(c.mode, c.start);
        Type(c.typed);
        EXPECT_EQ(e.Text(), c.expected) << "mode " << c.mode;
    }
    // A read-only text is not changed by deleting either.
    UiEdit& fixed = Make(kEditReadOnly, "7.5");
    Key(vk::kEnd);
    Backspace();
    Key(vk::kHome);
    Key(vk::kDelete);
    EXPECT_EQ(fixed.Text(), "7.5");
}

TEST_F(EditTest, DoubleByteCharactersArriveInPairsAndEditAsOne) {
    UiEdit& e = Make(kEditAny);
    // The first byte is held until the second arrives.
    Bytes(e, "\xD6");
    EXPECT_EQ(e.Text(), "");
    Bytes(e, "\xD0");
    EXPECT_EQ(e.Text(), "中");
    Type("a");
    // Left steps over the pair as one character.
    Key(vk::kLeft);
    Key(vk::kLeft);
    EXPECT_EQ(e.Caret(), 0);
    Type("x");
    EXPECT_EQ(e.Text(), "x中a");
    Key(vk::kRight);
    EXPECT_EQ(e.Caret(), 3);
    Backspace();
    EXPECT_EQ(e.Text(), "xa");
    Bytes(e, "文");
    Key(vk::kLeft);
    Key(vk::kDelete);
    EXPECT_EQ(e.Text(), "xa");

    // A first byte followed by no valid second byte is dropped alone.
    Bytes(e, "\xD6");
    Type("1");
    EXPECT_EQ(e.Text(), "x1a");

    // The number modes drop a pair whole; the digit after it still counts.
    UiEdit& digits = Make(kEditDigits);
    Bytes(digits, "１");  // a full-width digit one
    Type("7");
    EXPECT_EQ(digits.Text(), "7");
}

TEST_F(EditTest, EditKeysMoveTheCaretSelectAndDelete) {
    UiEdit& e = Make(kEditAny, "abcd");
    EXPECT_EQ(e.Caret(), 0);
    Key(vk::kLeft);  // nowhere to go
    EXPECT_EQ(e.Caret(), 0);
    Backspace();
    EXPECT_EQ(e.Text(), "abcd");
    Key(vk::kRight);
    Key(vk::kRight);
    Key(vk::kDelete);
    EXPECT_EQ(e.Text(), "abd");
    Backspace();
    EXPECT_EQ(e.Text(), "ad");
    Key(vk::kEnd);
    EXPECT_EQ(e.Caret(), 2);
    Key(vk::kDelete);
    EXPECT_EQ(e.Text(), "ad");

    // Shift extends the selection; typing replaces it.
    Key(vk::kHome);
    ShiftKey(vk::kRight);
    EXPECT_EQ(e.SelectionStart(), 0);
    EXPECT_EQ(e.SelectionEnd(), 1);
    Type("Z");
    EXPECT_EQ(e.Text(), "Zd");
    // Without Shift, Left collapses a selection to its start.
    Ctrl('A');
    Key(vk::kLeft);
    EXPECT_EQ(e.SelectionEnd() - e.SelectionStart(), 0);
    EXPECT_EQ(e.Caret(), 0);
    // Backspace takes the selection when there is one.
    ShiftKey(vk::kEnd);
    Backspace();
    EXPECT_EQ(e.Text(), "");
}

TEST_F(EditTest, ClipboardKeysCopyCutAndPaste) {
    UiEdit& e = Make(kEditAny, "loan 12");
    Ctrl('A');
    Ctrl('C');
    EXPECT_EQ(TheHost().ClipboardText(hwnd), "loan 12");
    EXPECT_EQ(e.Text(), "loan 12");  // the control character of Ctrl+A typed nothing
    Key(vk::kEnd);
    Ctrl('V');
    EXPECT_EQ(e.Text(), "loan 12loan 12");
    Key(vk::kHome);
    ShiftKey(vk::kRight);
    Ctrl('X');
    EXPECT_EQ(e.Text(), "oan 12loan 12");
    EXPECT_EQ(TheHost().ClipboardText(hwnd), "l");

    // A read-only edit copies but neither cuts nor pastes.
    UiEdit& fixed = Make(kEditReadOnly, "3.85");
    Ctrl('A');
    Ctrl('X');
    EXPECT_EQ(fixed.Text(), "3.85");
    EXPECT_EQ(TheHost().ClipboardText(hwnd), "3.85");
    Ctrl('V');
    EXPECT_EQ(fixed.Text(), "3.85");
}

TEST_F(EditTest, PastedTextObeysTheInputMode) {
    UiEdit& number = Make(kEditNumber);
    ASSERT_TRUE(TheHost().SetClipboardText(hwnd, "1a2.b3中 4"));
    Ctrl('V');
    EXPECT_EQ(number.Text(), "12.34");
    UiEdit& digits = Make(kEditDigits);
    Ctrl('V');
    EXPECT_EQ(digits.Text(), "1234");
    UiEdit& any = Make(kEditAny);
    Ctrl('V');
    EXPECT_EQ(any.Text(), "1a2.b3中 4");

    // Nothing acceptable, or no text at all, inserts nothing and leaves the
    // selection in place.
    ASSERT_TRUE(TheHost().SetClipboardText(hwnd, "abc"));
    UiEdit& kept = Make(kEditDigits, "250");
    Ctrl('A');
    Ctrl('V');
    EXPECT_EQ(kept.Text(), "250");
    ASSERT_TRUE(TheHost().SetClipboardText(hwnd, ""));
    Ctrl('V');
    EXPECT_EQ(kept.Text(), "250");
    EXPECT_EQ(kept.SelectionEnd() - kept.SelectionStart(), 3);
}

// OnChange reports each change of the text, whoever made it, and nothing
// else: a caret move, a copy, a key the mode rejects or the same text set
// again change nothing.
TEST_F(EditTest, OnChangeReportsEveryChangeOfTheTextAndNoOtherEvent) {
    UiEdit& e = Make(kEditNumber);
    std::vector<Text> seen;
    e.OnChange([&seen](const Text& text) { seen.push_back(text); });
    Type("1a2");
    Key(vk::kLeft);
    Backspace();
    Ctrl('A');
    Ctrl('C');
    Ctrl('X');
    Ctrl('V');
    e.Text("35", true);
    e.Text("35", true);
    EXPECT_EQ(seen, (std::vector<Text>{"1", "12", "2", "", "2", "35"}));
}

TEST_F(EditTest, SettingTheTextPutsTheCaretAtTheStart) {
    UiEdit& e = Make(kEditDigits);
    Type("123");
    Ctrl('A');
    EXPECT_EQ(e.Text("9", true), "9");
    EXPECT_EQ(e.Caret(), 0);
    EXPECT_EQ(e.SelectionEnd(), 0);
    Type("8");
    EXPECT_EQ(e.Text(), "89");
}

TEST_F(EditTest, TheCaretBlinksAndTheSelectionIsDrawnInTheAccent) {
    UiEdit& e = Make(kEditDigits, "8888");
    Key(vk::kEnd);
    const RectF caret = e.CaretBounds();
    ASSERT_GT(caret.height, 4);
    const int cx = static_cast<int>(caret.left), cy = static_cast<int>(caret.top + caret.height / 2);
    const Argb ink = MakeArgb(0x000000, 255);
    EXPECT_TRUE(Near(ScreenAt(cx, cy), ink)) << std::hex << ScreenAt(cx, cy);
    host.AdvanceClock(UiEdit::kBlinkMs);
    EXPECT_FALSE(Near(ScreenAt(cx, cy), ink));
    host.AdvanceClock(UiEdit::kBlinkMs);
    EXPECT_TRUE(Near(ScreenAt(cx, cy), ink));
    // Typing shows the caret at once.
    host.AdvanceClock(UiEdit::kBlinkMs);
    Type("1");
    EXPECT_TRUE(Near(ScreenAt(static_cast<int>(e.CaretBounds().left), cy), ink));

    const RectF line = MakeRect(24, caret.top, 150, caret.height);
    EXPECT_EQ(Count(line, Style().accent), 0);
    Ctrl('A');
    EXPECT_GT(Count(line, Style().accent), 40);
    // Losing the focus hides the selection and the caret.
    Make(kEditAny, "", MakeRect(20, 100, 100, 24));
    EXPECT_EQ(Count(line, Style().accent), 0);
    EXPECT_FALSE(Near(ScreenAt(static_cast<int>(e.CaretBounds().left), cy), ink));
}

TEST_F(EditTest, TheTextScrollsToKeepTheCaretInView) {
    UiEdit& e = Make(kEditAny, "", MakeRect(20, 40, 60, 24));
    Type("1234567890123456789012345");
    const RectF box = e.Bounds();
    RectF caret = e.CaretBounds();
    EXPECT_GT(caret.left, box.left + 30);
    EXPECT_LT(caret.left, box.Right() - 2);
    const int cy = static_cast<int>(caret.top + caret.height / 2);
    EXPECT_TRUE(Near(ScreenAt(static_cast<int>(caret.left), cy), MakeArgb(0x000000, 255)));
    // The host's input method is told where the caret is, where it keeps it.
    if (const std::optional<RectI> told = ToldCaret(host, hwnd)) {
        EXPECT_EQ(told->left, static_cast<int>(caret.left));
    }
    Key(vk::kHome);
    caret = e.CaretBounds();
    EXPECT_GE(caret.left, box.left + 2);
    EXPECT_LT(caret.left, box.left + 8);
    // Nothing is drawn outside the box.
    EXPECT_TRUE(Near(ScreenAt(static_cast<int>(box.Right()) + 3, cy), 0xFFFFFFFFu));
}

TEST_F(EditTest, APressPlacesTheCaretAndADragSelects) {
    UiEdit& e = Make(kEditAny, "0000000000");
    host.Click(hwnd, 176, 52);
    EXPECT_EQ(e.Caret(), 10);
    host.Click(hwnd, 21, 52);
    EXPECT_EQ(e.Caret(), 0);
    const int middle = static_cast<int>(e.CaretBounds().left);
    host.MouseDown(hwnd, middle + 1, 52);
    host.MouseMove(hwnd, 178, 52);
    host.MouseUp(hwnd, 178, 52);
    EXPECT_EQ(e.SelectionStart(), 0);
    EXPECT_EQ(e.SelectionEnd(), 10);
    Type("5");
    EXPECT_EQ(e.Text(), "5");
}

TEST_F(EditTest, TheDrawHookRunsOnEveryPaintBetweenTheBoxAndTheText) {
    std::vector<std::pair<int, int>> calls;
    UiEdit& e = Make(kEditAny, "8888");
    e.OnDraw([&](int windowIndex, int controlIndex) {
        calls.emplace_back(windowIndex, controlIndex);
        // The calculator draws its unit suffixes this way, into the back buffer.
        FillRect(*window.BackGraphics(), MakeRect(24, 44, 60, 17), MakeArgb(0xFF0000, 255));
    });
    e.Redraw();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), std::make_pair(window.WindowIndex(), window.IndexOf(&e)));
    Type("1");
    EXPECT_GE(calls.size(), 2u);
    // The hook's red lies over the box, and the text over the red.
    const RectF area = MakeRect(24, 44, 59, 16);
    EXPECT_GT(Count(area, MakeArgb(0xFF0000, 255)), 200);
    int dark = 0;
    for (int y = 44; y < 60; ++y) {
        for (int x = 24; x < 83; ++x) dark += RedOf(ScreenAt(x, y)) < 100;
    }
    EXPECT_GT(dark, 10);
}

TEST_F(EditTest, AWorkerThreadSetsTheTextOnTheWindowsThread) {
    UiEdit& e = Make(kEditNumber, "1");
    Key(vk::kEnd);
    std::atomic<bool> done{false};
    std::thread worker([&] {
        e.Text("480000", true);
        done = true;
    });
    ASSERT_TRUE(host.PumpUntil([&] { return done.load(); }));
    worker.join();
    EXPECT_EQ(e.Caret(), 0);
    Type("9");
    EXPECT_EQ(e.Text(), "9480000");
}

TEST_F(EditTest, OperationsOnAnUnboundOrDisabledEditAreIgnored) {
    UiEdit never;
    EXPECT_EQ(never.Text("x", true), "");
    EXPECT_EQ(never.InputMode(3, true), 0);
    EXPECT_EQ(never.Caret(), 0);
    never.Redraw();
    // An input mode out of range leaves the mode as it was.
    UiEdit& e = Make(kEditDigits);
    EXPECT_EQ(e.InputMode(7, true), kEditDigits);
    // A disabled edit that kept the focus takes no typing.
    e.Disabled(1, true);
    Type("42");
    Ctrl('V');
    EXPECT_EQ(e.Text(), "");
}

}  // namespace
}  // namespace qh
