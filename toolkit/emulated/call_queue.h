// The cross-thread part of the emulated windows: which thread owns each
// window, the messages posted to windows, and the calls other threads hand to
// a window's thread and wait for. It is the only part of the emulated
// bookkeeping that other threads touch, so it alone holds a lock.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#include "toolkit/host.h"

namespace qh::emulated {

class CallQueue {
public:
    struct Message {
        HostHandle window = 0;
        int message = 0;
        std::intptr_t wParam = 0, lParam = 0;
    };

    // wake is called, from any thread, after a message or call was queued, so
    // that a host waiting for native events looks at the queue (it may be empty).
    explicit CallQueue(std::function<void()> wake = {});
    CallQueue(const CallQueue&) = delete;
    CallQueue& operator=(const CallQueue&) = delete;

    // A window comes into being on the calling thread, which owns it.
    void Open(HostHandle window);
    // The window is gone: calls waiting for it return false at once, and no
    // new call for it is taken. Messages still queued for it are dropped
    // when their turn comes.
    void Close(HostHandle window);
    bool IsOpen(HostHandle window) const;
    // Whether the calling thread owns the window (false when it is gone).
    bool OnOwnerThread(HostHandle window) const;

    // Queues a message for the window's thread; any thread may post.
    void Post(HostHandle window, int message, std::intptr_t wParam, std::intptr_t lParam);
    // Carries fn out on the window's thread and waits for it (at once when
    // called on that thread). False when the window is gone before fn ran.
    bool Call(HostHandle window, const std::function<void()>& fn);

    // On the window's thread: delivers the messages posted so far, then runs
    // the calls queued so far. What they queue in turn waits for the next
    // round, so a message that posts itself again cannot hold the thread.
    // Returns how many messages and calls were handled.
    int Run(const std::function<void(const Message&)>& deliver);
    bool Empty() const;

private:
    struct PendingCall {
        HostHandle window = 0;
        const std::function<void()>* fn = nullptr;
        bool done = false;
        bool ran = false;
    };
    void Wake() const;

    std::function<void()> wake_;
    mutable std::mutex mutex_;
    std::condition_variable done_;
    std::map<HostHandle, std::thread::id> owners_;
    std::deque<Message> posted_;
    std::deque<PendingCall*> calls_;
};

}  // namespace qh::emulated
