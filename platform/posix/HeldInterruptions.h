// The signals that interrupt a run, and a scope during which they wait.
// Private to the POSIX implementation.
#pragma once

#include <signal.h>

namespace vormi::platform::posix {

inline constexpr int kInterruptions[] = {SIGINT, SIGTERM, SIGHUP};

inline sigset_t InterruptionSet() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signalNumber : kInterruptions) sigaddset(&set, signalNumber);
    return set;
}

// While it lives, an interruption waits; it is delivered when the scope ends.
// A temporary file is thus either not yet created or already known to the
// handler when the signal comes.
class HeldInterruptions {
public:
    HeldInterruptions() {
        const sigset_t set = InterruptionSet();
        pthread_sigmask(SIG_BLOCK, &set, &Before_);
    }
    ~HeldInterruptions() { pthread_sigmask(SIG_SETMASK, &Before_, nullptr); }
    HeldInterruptions(const HeldInterruptions&) = delete;
    HeldInterruptions& operator=(const HeldInterruptions&) = delete;

private:
    sigset_t Before_;
};

}  // namespace vormi::platform::posix
