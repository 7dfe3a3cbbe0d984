#pragma once

#include <atomic>
#include <functional>
#include <thread>

namespace tastolink {

// Ctrl+C (SIGINT) and a polite kill (SIGTERM) end a run at once and still let it close its port
// and release its lock. A handler may do almost nothing, so both signals are blocked in every
// thread and taken by a thread of their own, which calls `stop`. Made before any other thread,
// which inherits the blocking.
class StopSignals {
public:
    explicit StopSignals(std::function<void()> stop);
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

private:
    std::atomic<bool> ending_ = false;
    std::function<void()> stop_;
    std::thread waiter_;
};

}  // namespace tastolink
