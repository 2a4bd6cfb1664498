#include "vormi/platform/Process.h"

#include <signal.h>
#include <unistd.h>

#include <vector>

namespace vormi::platform {

std::string ExecutablePath() {
    // readlink does not say when it had to cut the name, so grow the buffer
    // until the name fits with room to spare.
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) return {};
        if (static_cast<size_t>(length) < buffer.size()) return std::string(buffer.data(), static_cast<size_t>(length));
        buffer.resize(buffer.size() * 2);
    }
}

std::vector<std::string> ProgramParameters(int argc, char** argv) {
    if (argc <= 1) return {};
    return std::vector<std::string>(argv + 1, argv + argc);
}

void IgnoreBrokenPipes() { signal(SIGPIPE, SIG_IGN); }

}  // namespace vormi::platform
