#include "app/features/key_playback.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "app/window/message_ids.h"

namespace tastolink {
namespace {

// Milliseconds of the performance counter since `start`.
std::uint64_t ElapsedMs(LONGLONG start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<std::uint64_t>(std::max<LONGLONG>(now.QuadPart - start, 0) * 1000 /
                                      frequency.QuadPart);
}

// Older headers lack the flag of Windows 10 1803.
constexpr DWORD kHighResolutionTimer = 0x00000002;  // CREATE_WAITABLE_TIMER_HIGH_RESOLUTION

KernelHandle MakeTimer() {
    // Windows 10 1803 and later; elsewhere a plain timer, as precise as the system's tick.
    if (HANDLE timer = CreateWaitableTimerExW(nullptr, nullptr, kHighResolutionTimer, TIMER_ALL_ACCESS))
        return KernelHandle(timer);
    return KernelHandle(CreateWaitableTimerW(nullptr, FALSE, nullptr));
}

}  // namespace

bool KeyPlayback::Start(HWND window, std::vector<std::uint64_t> dueMs) {
    Stop();
    KernelHandle timer = MakeTimer();
    stop_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    sent_.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (!timer || !stop_ || !sent_) {
        Stop();
        return false;
    }
    ++run_;
    try {
        thread_ =
            std::thread(&KeyPlayback::WaitAndTell, this, window, std::move(timer), std::move(dueMs), run_);
    } catch (const std::system_error&) {
        Stop();
        return false;
    }
    running_ = true;
    return true;
}

void KeyPlayback::Stop() {
    running_ = false;
    if (stop_) SetEvent(stop_.Get());
    if (thread_.joinable()) thread_.join();
    stop_.Reset();
    sent_.Reset();
}

void KeyPlayback::Sent(std::size_t index) {
    if (index == 0) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        firstSentAt_ = now.QuadPart;
    }
    if (sent_) SetEvent(sent_.Get());
}

void KeyPlayback::WaitAndTell(HWND window, KernelHandle timer, std::vector<std::uint64_t> dueMs,
                              unsigned run) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    LONGLONG start = now.QuadPart;
    std::size_t index = 0;
    for (; index < dueMs.size(); ++index) {
        if (index == 1) {
            // The others are counted from the moment the first went out.
            LARGE_INTEGER frequency;
            QueryPerformanceFrequency(&frequency);
            start = firstSentAt_ - static_cast<LONGLONG>(dueMs[0]) * frequency.QuadPart / 1000;
        }
        const std::uint64_t elapsed = ElapsedMs(start);
        if (dueMs[index] > elapsed) {
            LARGE_INTEGER after;
            after.QuadPart = -static_cast<LONGLONG>(dueMs[index] - elapsed) * 10000;  // relative, in 100 ns
            const HANDLE waits[] = {stop_.Get(), timer.Get()};
            if (!SetWaitableTimer(timer.Get(), &after, 0, nullptr, nullptr, FALSE) ||
                WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1)
                break;
        } else if (WaitForSingleObject(stop_.Get(), 0) == WAIT_OBJECT_0) {
            break;
        }
        // One press waits in the window's queue at a time: a window slowed by a stalled phone sends
        // the presses late, never fewer, and the queue never overflows.
        const HANDLE waits[] = {stop_.Get(), sent_.Get()};
        if (!PostMessageW(window, kPressDueMessage, index, run) ||
            WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1)
            break;
    }
    if (index == dueMs.size()) PostMessageW(window, kPressDueMessage, index, run);
}

}  // namespace tastolink
