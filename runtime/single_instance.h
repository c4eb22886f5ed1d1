// The machine-wide mark that one copy of a program runs: held for the life of
// the object, so a second copy that asks for the same name learns that the
// first still runs.
//
// Windows uses a named event object, which the system removes with the last
// handle, also when its holder crashes. Linux uses an abstract-namespace
// Unix socket bound to the name, which the kernel releases with the process
// in the same way; no file is left behind to go stale.
#pragma once

#include <cstdint>
#include <memory>

#include "runtime/text.h"

namespace qh {

// The name the updater holds while it runs.
inline constexpr char kUpdaterInstanceName[] = "QingheCalcUpdate";

class SingleInstance {
public:
    // The mark under name, or null when another holder (in this process or
    // any other) has it, or when the system cannot make it.
    static std::unique_ptr<SingleInstance> Acquire(const Text& name);
    // Gives the mark up.
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

private:
    explicit SingleInstance(std::intptr_t handle) : handle_(handle) {}
    std::intptr_t handle_;  // a socket descriptor, or the event's HANDLE
};

}  // namespace qh
