#include "tools/uidriver/command_runner.h"

#include <algorithm>
#include <ostream>
#include <sstream>
#include <thread>

#include "runtime/system.h"
#include "toolkit/accessible.h"
#include "toolkit/controls/combo_box.h"
#include "toolkit/messages.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"
#include "tools/uidriver/png_file.h"

namespace qh {

// A key as a script names it.
struct KeyName {
    const char* name;
    int vk;
    bool ctrl;
    int character;  // what the system also sends as WM_CHAR, or 0
    bool shift = false;
    bool alt = false;  // sent as a system key (WM_SYSKEYDOWN)
};

namespace {


constexpr int kVkBackspace = 8, kVkPageUp = 33, kVkPageDown = 34, kVkAlt = 18;

constexpr KeyName kKeys[] = {
    {"Tab", vk::kTab, false, 0},        {"Enter", vk::kEnter, false, 13},  {"Space", vk::kSpace, false, 32},
    {"Escape", vk::kEscape, false, 27}, {"Backspace", kVkBackspace, false, 8}, {"Delete", vk::kDelete, false, 0},
    {"Home", vk::kHome, false, 0},      {"End", vk::kEnd, false, 0},       {"Left", vk::kLeft, false, 0},
    {"Right", vk::kRight, false, 0},    {"Up", vk::kUp, false, 0},         {"Down", vk::kDown, false, 0},
    {"PageUp", kVkPageUp, false, 0},    {"PageDown", kVkPageDown, false, 0}, {"F4", vk::kF4, false, 0},
    {"F6", vk::kF6, false, 0},
    {"Ctrl+A", 'A', true, 0},           {"Ctrl+C", 'C', true, 0},          {"Ctrl+V", 'V', true, 0},
    {"Ctrl+X", 'X', true, 0},           {"Shift+Tab", vk::kTab, false, 0, true},
    {"Ctrl+Tab", vk::kTab, true, 0},    {"Ctrl+Shift+Tab", vk::kTab, true, 0, true},
    {"Ctrl+1", '1', true, 0},           {"Ctrl+2", '2', true, 0},          {"Ctrl+3", '3', true, 0},
    {"Ctrl+4", '4', true, 0},           {"Ctrl+5", '5', true, 0},
    {"Alt+Down", vk::kDown, false, 0, false, true}, {"Alt+Up", vk::kUp, false, 0, false, true},
};

const KeyName* FindKey(const std::string& name) {
    for (const KeyName& k : kKeys) {
        if (name == k.name) return &k;
    }
    return nullptr;
}

std::string Utf8(const Text& gbk) { return System().GbkToUtf8(gbk); }
Text Gbk(const std::string& utf8) { return System().Utf8ToGbk(utf8); }

// A text as one printed line: CR and LF written as \r and \n.
std::string OneLine(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else out.push_back(c);
    }
    return out;
}

bool ReadInt(const std::string& word, int& value) {
    std::istringstream in(word);
    return static_cast<bool>(in >> value) && in.eof();
}

}  // namespace

UiWindow* CommandRunner::TargetWindow() {
    for (UiWindow* w : Toolkit().windows) {
        if (w != nullptr && w->Handle() == target_ && host_.Exists(target_)) return w;
    }
    // The target went away or was never set: the program's first window.
    for (UiWindow* w : Toolkit().windows) {
        if (w != nullptr && w->Handle() != 0 && host_.Exists(w->Handle())) {
            target_ = w->Handle();
            return w;
        }
    }
    return nullptr;
}

bool CommandRunner::FindControl(const std::string& name, Target& target) {
    target.window = TargetWindow();
    if (target.window == nullptr) return false;
    target.index = target.window->IndexOfName(Gbk(name));
    return target.index != 0;
}

bool CommandRunner::Centre(const Target& target, int& x, int& y) {
    const ControlRecord* rec = target.window->Record(target.index);
    if (rec == nullptr) return false;
    x = static_cast<int>(rec->bounds.left + rec->bounds.width / 2);
    y = static_cast<int>(rec->bounds.top + rec->bounds.height / 2);
    return true;
}

bool CommandRunner::FreePointBeside(const Target& target, int& x, int& y) {
    const ControlRecord* rec = target.window->Record(target.index);
    if (rec == nullptr) return false;
    const RectF b = rec->bounds;
    const int left = static_cast<int>(b.left), top = static_cast<int>(b.top);
    const int right = static_cast<int>(b.Right()), bottom = static_cast<int>(b.Bottom());
    // Rings around the control, nearest first: the first point of the
    // window that no control covers.
    for (int gap = 2; gap < 200; gap += 4) {
        const int xs[] = {left - gap, right + gap, (left + right) / 2};
        const int ys[] = {top - gap, bottom + gap, (top + bottom) / 2};
        for (int px : xs) {
            for (int py : ys) {
                if (px < 0 || py < 0 || px >= target.window->ClientWidth() || py >= target.window->ClientHeight()) continue;
                if (target.window->HitTest(px, py) == 0) {
                    x = px;
                    y = py;
                    return true;
                }
            }
        }
    }
    return false;
}

CommandRunner::Outcome CommandRunner::Fail(const std::string& message) {
    err_ << "uidriver: line " << line_ << ": " << message << "\n";
    return Outcome::kError;
}

void CommandRunner::PrintWindows() {
    for (UiWindow* w : Toolkit().windows) {
        if (w == nullptr || w->Handle() == 0 || !host_.Exists(w->Handle())) continue;
        const RectI r = host_.WindowRect(w->Handle());
        out_ << Utf8(host_.Title(w->Handle())) << " visible=" << (host_.Visible(w->Handle()) ? 1 : 0)
             << " x=" << r.left << " y=" << r.top << " w=" << r.width << " h=" << r.height << "\n";
    }
}

void CommandRunner::PrintState(const std::string& name, const Target& target) {
    const ControlRecord* rec = target.window->Record(target.index);
    const ControlSnapshot s = rec->object->Snapshot();
    out_ << name << " visible=" << (rec->visible ? 1 : 0) << " enabled=" << (rec->object->Disabled() ? 0 : 1)
         << " checked=" << s.checked << " selected=" << s.selected << " selection=" << s.selection
         << " focused=" << (target.window->FocusedControl() == target.index ? 1 : 0)
         << " x=" << static_cast<int>(rec->bounds.left) << " y=" << static_cast<int>(rec->bounds.top)
         << " w=" << static_cast<int>(rec->bounds.width) << " h=" << static_cast<int>(rec->bounds.height) << "\n";
}

void CommandRunner::PrintControls() {
    UiWindow* w = TargetWindow();
    if (w == nullptr) return;
    for (int i = 1; i <= w->ControlCount(); ++i) {
        const ControlRecord* rec = w->Record(i);
        if (rec == nullptr || rec->object == nullptr || rec->object->Name().empty()) continue;
        const std::string name = Utf8(rec->object->Name());
        out_ << "kind=" << rec->kind << " ";
        PrintState(name, Target{w, i});
    }
}

bool CommandRunner::Key(const Target& target, const std::string& key) {
    const KeyName* k = FindKey(key);
    if (k == nullptr) return false;
    target.window->FocusControl(target.window->Record(target.index)->id);
    SendKey(target.window->Handle(), *k);
    return true;
}

void CommandRunner::SendKey(HostHandle hwnd, const KeyName& k) {
    // Modifiers are held as the key goes down and up, as on a keyboard.
    if (k.ctrl) host_.HoldKey(vk::kControl, true);
    if (k.shift) host_.HoldKey(vk::kShift, true);
    if (k.alt) {
        host_.HoldKey(kVkAlt, true);
        host_.Send(hwnd, msg::kSysKeyDown, k.vk, 1);
        host_.HoldKey(kVkAlt, false);
        return;
    }
    host_.Send(hwnd, msg::kKeyDown, k.vk, 1);
    if (k.character != 0) host_.Send(hwnd, msg::kChar, k.character, 1);
    host_.Send(hwnd, msg::kKeyUp, k.vk, 1);
    if (k.shift) host_.HoldKey(vk::kShift, false);
    if (k.ctrl) host_.HoldKey(vk::kControl, false);
}

UiWindow* CommandRunner::KeyboardWindow() {
    // The keyboard goes to the active window; scripts read that one next.
    for (UiWindow* w : Toolkit().windows) {
        if (w != nullptr && w->Handle() != 0 && host_.Exists(w->Handle()) && host_.Visible(w->Handle()) &&
            host_.IsActive(w->Handle())) {
            target_ = w->Handle();
            return w;
        }
    }
    return TargetWindow();
}

void CommandRunner::PrintObject(const AccessibleObject& o, int depth) {
    out_ << std::string(static_cast<std::size_t>(depth) * 2, ' ') << RoleName(o.role) << " \"" << OneLine(Utf8(o.name))
         << "\"";
    if (!o.value.empty()) out_ << " value=\"" << OneLine(Utf8(o.value)) << "\"";
    out_ << " states=" << (o.states == 0 ? "none" : StateNames(o.states)) << " x=" << o.screen.left
         << " y=" << o.screen.top << " w=" << o.screen.width << " h=" << o.screen.height;
    if (!o.defaultAction.empty()) out_ << " action=" << Utf8(o.defaultAction);
    out_ << "\n";
}

void CommandRunner::PrintTree() {
    UiWindow* w = TargetWindow();
    if (w == nullptr) return;
    PrintObject(DescribeWindow(*w), 0);
    for (const AccessibleObject& child : AccessibleChildren(*w)) {
        PrintObject(child, 1);
        for (int item = 1; item <= child.itemCount; ++item) {
            if (const auto row = DescribeControl(*w, child.id, item)) PrintObject(*row, 2);
        }
    }
}

void CommandRunner::PrintFocus() {
    UiWindow* w = KeyboardWindow();
    if (w == nullptr) return;
    const ControlRecord* rec = w->Record(w->FocusedControl());
    if (rec == nullptr) {
        out_ << "focus none\n";
        return;
    }
    out_ << "focus " << (rec->object->Name().empty() ? std::string("-") : Utf8(rec->object->Name())) << " ";
    if (const auto o = DescribeControl(*w, rec->id)) PrintObject(*o, 0);
    else out_ << "\n";
}

void CommandRunner::Wheel(HostHandle hwnd, int x, int y, int notches) {
    // The wheel message carries the point in screen coordinates.
    const RectI r = host_.WindowRect(hwnd);
    host_.Send(hwnd, msg::kMouseWheel, static_cast<std::intptr_t>(static_cast<std::uint32_t>(notches * 120) << 16),
               MakeLParam(r.left + x, r.top + y));
}

CommandRunner::Outcome CommandRunner::Choose(const std::string& name, const Target& target,
                                             const std::string& argument) {
    auto* combo = dynamic_cast<UiComboBox*>(target.window->Record(target.index)->object);
    if (combo == nullptr) return Fail(name + " is not a combo box");
    int item = 0;
    if (!ReadInt(argument, item)) return Fail("choose needs an item number: " + argument);
    if (item < 1 || item > combo->ItemCount()) {
        return Fail(name + " has no item " + argument + " (it has " + std::to_string(combo->ItemCount()) + ")");
    }
    // As a user does: a click opens the list (unless it is open), the wheel
    // over the list brings the item into view, and a click picks it. Opening
    // raises the box above its neighbours, so it is followed as an object,
    // not by its place in the window's list.
    const HostHandle hwnd = target.window->Handle();
    int x = 0, y = 0;
    Centre(target, x, y);
    if (!combo->IsOpen()) host_.Click(hwnd, x, y);
    if (!combo->IsOpen()) return Fail("the list of " + name + " does not open");
    for (int turns = combo->ItemCount(); turns > 0 && combo->ItemBounds(item).width <= 0; --turns) {
        // The wheel walks the hot item, which is always in view: towards
        // the top of the list when the item lies above it.
        const RectF list = combo->ListBounds();
        Wheel(hwnd, static_cast<int>(list.left + list.width / 2), static_cast<int>(list.top + list.height / 2),
              item < combo->HotItem() ? 1 : -1);
    }
    const RectF row = combo->ItemBounds(item);
    if (row.width <= 0) return Fail("item " + argument + " of " + name + " cannot be brought into view");
    host_.Click(hwnd, static_cast<int>(row.left + row.width / 2), static_cast<int>(row.top + row.height / 2));
    return Outcome::kContinue;
}

void CommandRunner::RecordStarted(const std::string& commandLine) {
    std::lock_guard<std::mutex> hold(startedLock_);
    started_.push_back(commandLine);
}

void CommandRunner::PrintStarted() {
    std::lock_guard<std::mutex> hold(startedLock_);
    for (const std::string& s : started_) out_ << s << "\n";
}

void CommandRunner::Wait(int milliseconds) {
    // The clock moves in small steps, so that timers and animations run in
    // order, and real time passes too, so that background threads get
    // theirs; what they post runs at every step.
    constexpr int kStep = 10;
    for (int done = 0; done < milliseconds; done += kStep) {
        if (ended_ && ended_()) return;
        const int step = std::min(kStep, milliseconds - done);
        std::this_thread::sleep_for(std::chrono::milliseconds(step));
        host_.ProcessPending();
        host_.AdvanceClock(step);
    }
    host_.ProcessPending();
}

CommandRunner::Outcome CommandRunner::Run(const std::string& line, int lineNumber) {
    line_ = lineNumber;
    host_.ClearPresentations();  // the screen is kept; the history is not needed
    std::istringstream in(line);
    std::string command;
    if (!(in >> command) || command[0] == '#') return Outcome::kContinue;
    std::string rest;
    std::getline(in >> std::ws, rest);
    std::istringstream words(rest);
    std::string name;
    words >> name;

    if (command == "quit") return Outcome::kQuit;
    if (command == "windows") return PrintWindows(), Outcome::kContinue;
    if (command == "controls") return PrintControls(), Outcome::kContinue;
    if (command == "started") return PrintStarted(), Outcome::kContinue;
    if (command == "tree") return PrintTree(), Outcome::kContinue;
    if (command == "focus") return PrintFocus(), Outcome::kContinue;
    if (command == "press") {
        // A key of the keyboard alone: to whatever has the focus.
        const KeyName* k = FindKey(rest);
        UiWindow* w = KeyboardWindow();
        if (k == nullptr) return Fail("unknown key: " + rest);
        if (w == nullptr) return Fail("no window");
        SendKey(w->Handle(), *k);
        return Outcome::kContinue;
    }
    if (command == "write") {
        // Typing into the focused control, without a click first.
        UiWindow* w = KeyboardWindow();
        if (w == nullptr) return Fail("no window");
        for (char c : Gbk(rest)) host_.Send(w->Handle(), msg::kChar, static_cast<unsigned char>(c), 1);
        return Outcome::kContinue;
    }
    if (command == "wait") {
        int ms = 0;
        if (!ReadInt(rest, ms) || ms < 0) return Fail("wait needs milliseconds: " + rest);
        Wait(ms);
        return Outcome::kContinue;
    }
    if (command == "window") {
        for (UiWindow* w : Toolkit().windows) {
            if (w != nullptr && w->Handle() != 0 && host_.Exists(w->Handle()) && host_.Title(w->Handle()) == Gbk(rest)) {
                target_ = w->Handle();
                return Outcome::kContinue;
            }
        }
        return Fail("no window titled " + rest);
    }
    if (command == "shot") {
        UiWindow* w = TargetWindow();
        if (w == nullptr || rest.empty()) return Fail("shot needs a window and a file");
        if (!WritePngFile(host_.Screen(w->Handle()), rest)) return Fail("cannot write " + rest);
        return Outcome::kContinue;
    }
    int x = 0, y = 0;
    if ((command == "click" || command == "rclick") && ReadInt(name, x)) {
        std::string second;
        words >> second;
        if (!ReadInt(second, y)) return Fail("click needs a control or a point: " + rest);
        UiWindow* w = TargetWindow();
        if (w == nullptr) return Fail("no window");
        if (command == "click") host_.Click(w->Handle(), x, y);
        else host_.RightClick(w->Handle(), x, y);
        return Outcome::kContinue;
    }

    Target target;
    const bool known = command == "click" || command == "rclick" || command == "type" || command == "key" ||
                       command == "choose" || command == "hover" || command == "leave" || command == "wheel" ||
                       command == "print" || command == "state" || command == "cells";
    if (!known) return Fail("unknown command: " + command);
    if (!FindControl(name, target)) return Fail("no control named " + name);
    Centre(target, x, y);
    const HostHandle hwnd = target.window->Handle();
    std::string argument;
    std::getline(words >> std::ws, argument);

    if (command == "click") {
        host_.Click(hwnd, x, y);
    } else if (command == "rclick") {
        host_.RightClick(hwnd, x, y);
    } else if (command == "type") {
        host_.Click(hwnd, x, y);
        for (char c : Gbk(argument)) host_.Send(hwnd, msg::kChar, static_cast<unsigned char>(c), 1);
    } else if (command == "key") {
        if (!Key(target, argument)) return Fail("unknown key: " + argument);
    } else if (command == "hover") {
        host_.MouseMove(hwnd, x, y);
    } else if (command == "leave") {
        // The pointer moves off the control onto the window's background
        // beside it, as a user's does; with no such place it leaves the window.
        int fx = 0, fy = 0;
        if (FreePointBeside(target, fx, fy)) {
            host_.MouseMove(hwnd, fx, fy);
        } else {
            host_.Send(hwnd, msg::kMouseLeave, 0, 0);
        }
    } else if (command == "wheel") {
        int notches = 0;
        if (!ReadInt(argument, notches)) return Fail("wheel needs a number: " + argument);
        Wheel(hwnd, x, y, notches);
    } else if (command == "print") {
        const ControlSnapshot s = target.window->Record(target.index)->object->Snapshot();
        out_ << name << "=" << OneLine(Utf8(s.text)) << "\n";
    } else if (command == "state") {
        PrintState(name, target);
    } else if (command == "cells") {
        for (const auto& row : target.window->Record(target.index)->object->Snapshot().rows) {
            for (std::size_t c = 0; c < row.size(); ++c) out_ << (c ? "\t" : "") << Utf8(row[c]);
            out_ << "\n";
        }
    } else if (command == "choose") {
        return Choose(name, target, argument);
    }
    return Outcome::kContinue;
}

}  // namespace qh
