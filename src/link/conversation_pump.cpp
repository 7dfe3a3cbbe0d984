#include "link/conversation_pump.h"

#include <chrono>

namespace tastolink {

ConversationPump::ConversationPump(SerialPortOpener& opener)
    : conversation_(opener, [this] {
          std::lock_guard lock(mutex_);
          news_ = true;
          woken_.notify_one();
      }) {}

void ConversationPump::RunUntil(const std::function<bool()>& done) {
    while (!done()) {
        const auto due = conversation_.TimeToCheck();
        {
            std::unique_lock lock(mutex_);
            const auto hasNews = [this] { return news_; };
            if (due)
                woken_.wait_for(lock, std::chrono::milliseconds(*due), hasNews);
            else
                woken_.wait(lock, hasNews);
            news_ = false;
        }
        conversation_.TakeNews();
        conversation_.CheckTime();
    }
}

}  // namespace tastolink
