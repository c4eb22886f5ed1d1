// Start-up and exit of a program, in a fixed order.
//
// Start: the platform's services for the main thread (COM on Windows), an
// out-of-memory handler that ends the program with a message, then each
// registered module initialiser. Exit: the program's own exit callback, the
// other exit callbacks, the platform's services, then the end of the process.
#pragma once

#include <functional>

namespace qh {

void RuntimeStart();
// Registered initialisers run at RuntimeStart, in order of registration.
void AddModuleInitializer(std::function<void()> initializer);
// The program's own exit callback runs first at exit; others run after it,
// last registered first.
void SetProgramExitCallback(std::function<void()> callback);
void AddExitCallback(std::function<void()> callback);

// The exit path: runs the callbacks once and ends the process.
[[noreturn]] void RuntimeExit(int exitCode);

}  // namespace qh
