#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "TestFiles.h"

namespace vormi {

void UseUtc() {
    setenv("TZ", "UTC", 1);
    tzset();
}

void LimitAddressSpace(uint64_t extraBytes) {
    uint64_t pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const uint64_t limit = pages * static_cast<uint64_t>(sysconf(_SC_PAGESIZE)) + extraBytes;
    const rlimit cap{.rlim_cur = limit, .rlim_max = limit};
    setrlimit(RLIMIT_AS, &cap);
}

bool AddressSpaceCanBeCapped() {
    static const bool capped = [] {
        const pid_t child = fork();
        if (child == 0) {
            LimitAddressSpace(64u << 20);
            _exit(std::malloc(1u << 30) == nullptr ? 0 : 1);
        }
        int status = 0;
        return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }();
    return capped;
}

void LimitFileSize(uint64_t bytes) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit cap{.rlim_cur = bytes, .rlim_max = bytes};
    setrlimit(RLIMIT_FSIZE, &cap);
}

}  // namespace vormi
