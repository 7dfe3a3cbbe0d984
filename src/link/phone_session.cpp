#include "link/phone_session.h"

#include <algorithm>

namespace tastolink {

PhoneSession::PhoneSession(SerialPortOpener& opener)
    : conversation_(opener, [this] {
          std::lock_guard lock(mutex_);
          news_ = true;
          changed_.notify_one();
      }) {}

void PhoneSession::Stop() {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    changed_.notify_one();
}

bool PhoneSession::Stopped() {
    std::lock_guard lock(mutex_);
    return stopped_;
}

bool PhoneSession::Wait(std::optional<Clock::time_point> due, const std::function<bool()>& done) {
    for (;;) {
        const Clock::time_point now = Clock::now();
        if ((done && done()) || (due && now >= *due)) return !Stopped();
        std::optional<Clock::time_point> wakeAt = due;
        if (const auto check = conversation_.TimeToCheck()) {
            const Clock::time_point checkAt = now + std::chrono::milliseconds(*check);
            wakeAt = wakeAt ? std::min(*wakeAt, checkAt) : checkAt;
        }
        bool news = false;
        {
            std::unique_lock lock(mutex_);
            const auto woken = [this] { return news_ || stopped_; };
            if (wakeAt)
                changed_.wait_until(lock, *wakeAt, woken);
            else
                changed_.wait(lock, woken);
            if (stopped_) return false;
            news = std::exchange(news_, false);
        }
        if (news) conversation_.TakeNews();
        if (conversation_.TimeToCheck() == 0u) conversation_.CheckTime();
    }
}

}  // namespace tastolink
