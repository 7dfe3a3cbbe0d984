#pragma once

#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace tastolink {

// What the reader of a port heard.
struct PortNews {
    enum class Kind {
        Received,
        Dropped,  // bytes were lost here, by the driver or because they did not fit into the inbox
        Lost,     // the port failed under the reader
    };
    Kind kind;
    std::string bytes{};  // Received

    bool operator==(const PortNews&) const = default;
};

// News passes from the reader's thread to the thread that talks to the phone here. The first news
// into an empty inbox calls `wake` (which, in the window, posts a message); the other side then
// takes it all.
//
// Whatever the phone sends waits here at most kMostBytes: a phone that sends faster than it is
// taken loses the excess, and a Dropped stands where it was, so that the bytes on either side are
// never read as one line.
class PortInbox {
public:
    static constexpr std::size_t kMostBytes = 64 * 1024;

    explicit PortInbox(std::function<void()> wake) : wake_(std::move(wake)) {}

    void Push(PortNews news) {
        bool wasEmpty;
        {
            std::lock_guard lock(mutex_);
            wasEmpty = news_.empty();
            const bool afterReceived = !news_.empty() && news_.back().kind == PortNews::Kind::Received;
            if (news.kind != PortNews::Kind::Received) {
                if (news.kind != PortNews::Kind::Dropped || news_.empty() ||
                    news_.back().kind != PortNews::Kind::Dropped)
                    news_.push_back(std::move(news));
            } else if (bytes_ + news.bytes.size() > kMostBytes) {
                if (news_.empty() || news_.back().kind != PortNews::Kind::Dropped)
                    news_.push_back({PortNews::Kind::Dropped});
            } else if (afterReceived) {
                bytes_ += news.bytes.size();
                news_.back().bytes += news.bytes;  // bytes read one after the other are one piece
            } else {
                bytes_ += news.bytes.size();
                news_.push_back(std::move(news));
            }
        }
        if (wasEmpty && wake_) wake_();
    }

    std::vector<PortNews> TakeAll() {
        std::lock_guard lock(mutex_);
        bytes_ = 0;
        return std::exchange(news_, {});
    }

private:
    std::function<void()> wake_;
    std::mutex mutex_;
    std::vector<PortNews> news_;
    std::size_t bytes_ = 0;  // of the Received news waiting
};

}  // namespace tastolink
