#include "vormi/platform/Interrupts.h"

#include <signal.h>
#include <unistd.h>

#include "Temporaries.h"
#include "posix/HeldInterruptions.h"

namespace vormi::platform {
namespace {

using posix::kInterruptions;

// Only async-signal-safe calls: the names were made before the signal came.
// With the default action back in place, the signal raised again ends the
// process as it would have without this handler, once the handler returns.
extern "C" void RemoveAndEnd(int signalNumber) {
    detail::RemoveTemporaries([](const char* name) { unlink(name); });
    signal(signalNumber, SIG_DFL);
    raise(signalNumber);
}

}  // namespace

void RemoveTemporariesOnInterrupt() {
    for (const int signalNumber : kInterruptions) {
        struct sigaction current {};
        if (sigaction(signalNumber, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) continue;
        struct sigaction handler {};
        handler.sa_handler = RemoveAndEnd;
        // Another interruption meanwhile waits, so the names are removed once.
        handler.sa_mask = posix::InterruptionSet();
        sigaction(signalNumber, &handler, nullptr);
    }
}

}  // namespace vormi::platform
