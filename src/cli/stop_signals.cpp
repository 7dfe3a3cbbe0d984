#include "cli/stop_signals.h"

#include <pthread.h>
#include <signal.h>

namespace tastolink {
namespace {

sigset_t StopSignalSet() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

}  // namespace

StopSignals::StopSignals(std::function<void()> stop) : stop_(std::move(stop)) {
    const sigset_t set = StopSignalSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    waiter_ = std::thread([this, set] {
        for (int signal = 0; sigwait(&set, &signal) == 0 && !ending_;) stop_();
    });
}

// The waiter is woken by a signal of its own; the blocking stays, so that a Ctrl+C now costs the
// run nothing of its closing.
StopSignals::~StopSignals() {
    ending_ = true;
    pthread_kill(waiter_.native_handle(), SIGTERM);
    waiter_.join();
}

}  // namespace tastolink
