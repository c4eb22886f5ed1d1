#include "runtime/lifecycle.h"

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <new>
#include <vector>

#include "runtime/fatal.h"
#include "runtime/system.h"

namespace qh {
namespace {

struct LifecycleState {
    std::mutex mutex;
    std::vector<std::function<void()>> initializers;
    std::function<void()> programExit;
    std::vector<std::function<void()>> exitCallbacks;
    std::atomic<bool> exiting{false};
};

LifecycleState& State() {
    static LifecycleState state;
    return state;
}

void NewHandler() { OutOfMemory(); }

}  // namespace

void AddModuleInitializer(std::function<void()> initializer) {
    std::lock_guard lock(State().mutex);
    State().initializers.push_back(std::move(initializer));
}

void SetProgramExitCallback(std::function<void()> callback) {
    std::lock_guard lock(State().mutex);
    State().programExit = std::move(callback);
}

void AddExitCallback(std::function<void()> callback) {
    std::lock_guard lock(State().mutex);
    State().exitCallbacks.push_back(std::move(callback));
}

void RuntimeStart() {
    System().StartThreadServices();
    std::set_new_handler(NewHandler);
    std::vector<std::function<void()>> initializers;
    {
        std::lock_guard lock(State().mutex);
        initializers = State().initializers;
    }
    for (auto& init : initializers) init();
}

void RuntimeExit(int exitCode) {
    // A fatal error inside an exit callback must not run the callbacks again.
    if (!State().exiting.exchange(true)) {
        std::function<void()> programExit;
        std::vector<std::function<void()>> callbacks;
        {
            std::lock_guard lock(State().mutex);
            programExit = State().programExit;
            callbacks = State().exitCallbacks;
        }
        if (programExit) programExit();
        for (auto it = callbacks.rbegin(); it != callbacks.rend(); ++it) (*it)();
        System().EndThreadServices();
    }
    std::exit(exitCode);
}

}  // namespace qh
