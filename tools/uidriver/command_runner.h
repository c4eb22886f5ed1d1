// The UI driver's commands: one line each, carried out on the driven
// program's windows in the headless host, between the messages the program's
// loop runs. Texts come in and go out as UTF-8; the program's own are GBK.
#pragma once

#include <functional>
#include <iosfwd>
#include <mutex>
#include <string>
#include <vector>

#include "toolkit/headless/headless_host.h"

namespace qh {

class UiWindow;
struct AccessibleObject;
struct KeyName;

class CommandRunner {
public:
    enum class Outcome { kContinue, kQuit, kError };

    CommandRunner(headless::HeadlessHost& host, std::ostream& out, std::ostream& err)
        : host_(host), out_(out), err_(err) {}

    // Carries out one command line; on an error writes a message naming
    // the line to err.
    Outcome Run(const std::string& line, int lineNumber);
    // Records the command line (UTF-8) of a program the driven program
    // started; any of the program's threads may call it.
    void RecordStarted(const std::string& commandLine);
    // Tells whether the driven program has ended: "wait" stops early then,
    // as nothing is left to wait for.
    void WatchProgramEnd(std::function<bool()> ended) { ended_ = std::move(ended); }

private:
    struct Target {
        UiWindow* window = nullptr;
        int index = 0;  // the control's index, 0 for a point of the window
    };

    UiWindow* TargetWindow();
    bool FindControl(const std::string& name, Target& target);
    bool Centre(const Target& target, int& x, int& y);
    // A point of the window near the control that no control covers.
    bool FreePointBeside(const Target& target, int& x, int& y);
    void PrintWindows();
    void PrintControls();
    void PrintState(const std::string& name, const Target& target);
    bool Key(const Target& target, const std::string& key);
    void SendKey(HostHandle hwnd, const KeyName& key);
    // The window the keyboard reaches (the active one), made the target.
    UiWindow* KeyboardWindow();
    void PrintObject(const AccessibleObject& object, int depth);
    void PrintTree();
    void PrintFocus();
    // Turns the wheel by notches (positive away from the user) at a point of
    // the window.
    void Wheel(HostHandle hwnd, int x, int y, int notches);
    Outcome Choose(const std::string& name, const Target& target, const std::string& argument);
    void PrintStarted();
    void Wait(int milliseconds);
    Outcome Fail(const std::string& message);

    headless::HeadlessHost& host_;
    std::ostream& out_;
    std::ostream& err_;
    HostHandle target_ = 0;
    int line_ = 0;
    std::mutex startedLock_;
    std::vector<std::string> started_;
    std::function<bool()> ended_;
};

}  // namespace qh
