// The mark that one copy of a program runs for this user: held for the life
// of the object, so a second copy that asks for the same name learns that
// the first still runs. Another user's copy has a mark of its own, so one
// user cannot keep another's program from starting.
//
// Windows uses a named event object in the session's own namespace
// ("Local\"), which the system removes with the last handle, also when its
// holder crashes. Linux uses an abstract-namespace Unix socket bound to the
// name and the user's id, which the kernel releases with the process in the
// same way; no file is left behind to go stale.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "runtime/text.h"

namespace qh {

// The name the updater holds while it runs.
inline constexpr char kUpdaterInstanceName[] = "QingheCalcUpdate";

// The name of a user's mark where every user of the machine shares one
// namespace (Linux's abstract sockets): the user's id, a colon, the name. The
// id holds no colon, so two different pairs never give the same name.
inline Text PerUserInstanceName(const Text& name, std::uint32_t userId) {
    return std::to_string(userId) + ":" + name;
}

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
