// Starts a program with exactly the command line held in the environment
// variable VORMI_COMMAND_LINE, sharing this process's standard handles, and
// exits with its exit code. Wine builds a command line from its own
// arguments by the C runtime's quoting rules; the golden tests need to hand
// vormi.exe quotes and blanks as a user types them.
#include <windows.h>

#include <cstdio>
#include <string>

int main() {
    const DWORD length = GetEnvironmentVariableA("VORMI_COMMAND_LINE", nullptr, 0);
    if (length == 0) {
        std::fprintf(stderr, "raw_command_line: VORMI_COMMAND_LINE is not set\n");
        return 125;
    }
    std::string line(length, '\0');
    GetEnvironmentVariableA("VORMI_COMMAND_LINE", line.data(), length);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "raw_command_line: CreateProcessA failed with error %lu for: %s\n",
                     static_cast<unsigned long>(GetLastError()), line.c_str());
        return 126;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 127;
    GetExitCodeProcess(process.hProcess, &code);
    return static_cast<int>(code);
}
