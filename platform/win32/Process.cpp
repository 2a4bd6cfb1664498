#include "vormi/platform/Process.h"

#include <windows.h>

namespace vormi::platform {

std::string ExecutablePath() {
    // GetModuleFileNameA says nothing when it had to cut the name except by
    // filling the buffer, so grow it until the name fits with room to spare.
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

// The C runtime's argument vector follows other quoting rules (backslashes
// before quotes, for one); the program splits the line itself.
std::vector<std::string> ProgramParameters(int, char**) {
    std::vector<std::string> parameters = SplitCommandLine(GetCommandLineA());
    if (!parameters.empty()) parameters.erase(parameters.begin());
    return parameters;
}

// Windows ends no process for writing to a closed pipe: the write just fails.
void IgnoreBrokenPipes() {}

}  // namespace vormi::platform
