#pragma once

#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace tastolink {

// What a port that hears the phone reports to the window.
struct PortEvent {
    enum class Kind {
        Opened,
        FailedOpen,
        Written,
        Received,
        Dropped,  // bytes received here did not fit into the inbox and were thrown away
        Lost,
    };
    Kind kind;
    std::string text;      // the port name (Opened, FailedOpen, Lost) or the bytes
    std::string reason{};  // FailedOpen: why the port did not open

    bool operator==(const PortEvent&) const = default;
};

// Events pass from the reader's thread to the window thread here. The first event into an
// empty inbox calls `wake` (which posts a message to the window); the window takes them all.
//
// Whatever the phone sends waits here at most kMostBytes: a phone that sends faster than the
// window takes it loses the excess, and a Dropped event stands where it was, so that the bytes on
// either side are never read as one line. The other events come from the window's own opens and
// writes and from the reader's end, and are never dropped.
class PortEventInbox {
public:
    static constexpr std::size_t kMostBytes = 64 * 1024;

    explicit PortEventInbox(std::function<void()> wake) : wake_(std::move(wake)) {}

    void Push(PortEvent event) {
        bool wasEmpty;
        {
            std::lock_guard lock(mutex_);
            wasEmpty = events_.empty();
            if (event.kind != PortEvent::Kind::Received) {
                events_.push_back(std::move(event));
            } else if (bytes_ + event.text.size() > kMostBytes) {
                if (events_.empty() || events_.back().kind != PortEvent::Kind::Dropped)
                    events_.push_back({PortEvent::Kind::Dropped, {}});
            } else if (!events_.empty() && events_.back().kind == PortEvent::Kind::Received) {
                bytes_ += event.text.size();
                events_.back().text += event.text;  // one event for bytes read one after the other
            } else {
                bytes_ += event.text.size();
                events_.push_back(std::move(event));
            }
        }
        if (wasEmpty && wake_) wake_();
    }

    std::vector<PortEvent> TakeAll() {
        std::lock_guard lock(mutex_);
        bytes_ = 0;
        return std::exchange(events_, {});
    }

private:
    std::function<void()> wake_;
    std::mutex mutex_;
    std::vector<PortEvent> events_;
    std::size_t bytes_ = 0;  // of the Received events waiting
};

}  // namespace tastolink
