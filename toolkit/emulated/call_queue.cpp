// The queue of posted messages and cross-thread calls of the emulated
// windows (headless and X11 hosts).
#include "toolkit/emulated/call_queue.h"

#include <utility>

namespace qh::emulated {

CallQueue::CallQueue(std::function<void()> wake) : wake_(std::move(wake)) {}

void CallQueue::Wake() const {
    if (wake_) wake_();
}

void CallQueue::Open(HostHandle window) {
    std::lock_guard<std::mutex> lock(mutex_);
    owners_[window] = std::this_thread::get_id();
}

void CallQueue::Close(HostHandle window) {
    {
        // One step under the lock: a call from another thread either finds
        // the window and is failed here, or does not find it at all.
        std::lock_guard<std::mutex> lock(mutex_);
        owners_.erase(window);
        for (auto it = calls_.begin(); it != calls_.end();) {
            if ((*it)->window == window) {
                (*it)->done = true;
                it = calls_.erase(it);
            } else {
                ++it;
            }
        }
    }
    done_.notify_all();
}

bool CallQueue::IsOpen(HostHandle window) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return owners_.count(window) != 0;
}

bool CallQueue::OnOwnerThread(HostHandle window) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = owners_.find(window);
    return it != owners_.end() && it->second == std::this_thread::get_id();
}

void CallQueue::Post(HostHandle window, int message, std::intptr_t wParam, std::intptr_t lParam) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        posted_.push_back(Message{window, message, wParam, lParam});
    }
    Wake();
}

bool CallQueue::Call(HostHandle window, const std::function<void()>& fn) {
    if (OnOwnerThread(window)) {
        fn();
        return true;
    }
    PendingCall call{window, &fn, false, false};
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (owners_.count(window) == 0) return false;
        calls_.push_back(&call);
    }
    Wake();
    std::unique_lock<std::mutex> lock(mutex_);
    done_.wait(lock, [&] { return call.done; });
    return call.ran;
}

int CallQueue::Run(const std::function<void(const Message&)>& deliver) {
    std::deque<Message> messages;
    std::size_t callCount = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        messages.swap(posted_);
        callCount = calls_.size();
    }
    int ran = 0;
    for (const Message& m : messages) {
        deliver(m);
        ++ran;
    }
    for (std::size_t i = 0; i < callCount; ++i) {
        PendingCall* call = nullptr;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            // A window closed meanwhile has already failed and removed its calls.
            if (calls_.empty()) break;
            call = calls_.front();
            calls_.pop_front();
        }
        (*call->fn)();
        {
            std::lock_guard<std::mutex> lock(mutex_);
            call->ran = true;
            call->done = true;
        }
        done_.notify_all();
        ++ran;
    }
    return ran;
}

bool CallQueue::Empty() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return posted_.empty() && calls_.empty();
}

}  // namespace qh::emulated
