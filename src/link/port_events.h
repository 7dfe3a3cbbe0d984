#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace tastolink {

// What a port that hears the phone reports to the window.
struct PortEvent {
    enum class Kind { Opened, FailedOpen, Written, Received, Lost };
    Kind kind;
    std::string text;      // the port name (Opened, FailedOpen, Lost) or the bytes
    std::string reason{};  // FailedOpen: why the port did not open

    bool operator==(const PortEvent&) const = default;
};

// Events pass from the reader's thread to the window thread here. The first event into an
// empty inbox calls `wake` (which posts a message to the window); the window takes them all.
class PortEventInbox {
public:
    explicit PortEventInbox(std::function<void()> wake) : wake_(std::move(wake)) {}

    void Push(PortEvent event) {
        bool wasEmpty;
        {
            std::lock_guard lock(mutex_);
            wasEmpty = events_.empty();
            events_.push_back(std::move(event));
        }
        if (wasEmpty && wake_) wake_();
    }

    std::vector<PortEvent> TakeAll() {
        std::lock_guard lock(mutex_);
        return std::exchange(events_, {});
    }

private:
    std::function<void()> wake_;
    std::mutex mutex_;
    std::vector<PortEvent> events_;
};

}  // namespace tastolink
