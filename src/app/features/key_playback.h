#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "shared/handles_win32.h"

namespace tastolink {

// The clock of a playing key sequence. A thread of its own waits until each press is due, on a
// high-resolution waitable timer where the system has one, and posts kPressDueMessage to the window
// with the press's index, so that the window sends it and never waits itself. Each wait runs to
// the press's time counted from the start, so that one late press makes none after it late.
class KeyPlayback {
public:
    KeyPlayback() = default;
    ~KeyPlayback() { Stop(); }
    KeyPlayback(const KeyPlayback&) = delete;
    KeyPlayback& operator=(const KeyPlayback&) = delete;

    // Starts a run of presses due at `dueMs` from now; false when the system gives no thread or timer.
    bool Start(HWND window, std::vector<std::uint64_t> dueMs);
    // Ends the run; no message of it is handled after this.
    void Stop();
    // The window has sent press `index`, and the next may be told. The clock of the others starts
    // as the first goes out, so that the time the window took to send it makes none of them late.
    void Sent(std::size_t index);
    bool IsRunning() const { return running_; }
    // Whether a kPressDueMessage belongs to the run that plays now.
    bool IsOfThisRun(LPARAM run) const { return running_ && static_cast<unsigned>(run) == run_; }

private:
    void WaitAndTell(HWND window, KernelHandle timer, std::vector<std::uint64_t> dueMs, unsigned run);

    std::thread thread_;
    KernelHandle stop_;
    KernelHandle sent_;
    std::atomic<LONGLONG> firstSentAt_ = 0;  // the performance counter as the first press went out
    bool running_ = false;
    unsigned run_ = 0;
};

}  // namespace tastolink
