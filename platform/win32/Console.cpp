#include "vormi/platform/Console.h"

#include <windows.h>

#include "StandardOutput.h"

namespace vormi::platform {

// Through the standard output handle, whatever it is (a console, a file or a
// pipe). The buffer never holds more than a DWORD counts.
size_t WriteStandardOutput(const char* bytes, size_t count) {
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (output == nullptr || output == INVALID_HANDLE_VALUE) return 0;
    DWORD put = 0;
    if (!WriteFile(output, bytes, static_cast<DWORD>(count), &put, nullptr)) return 0;
    return put;
}

void ConsoleReadLine() {
    // Whatever asked for the line must be visible before the wait.
    ConsoleFlush();
    // Byte by byte, so that nothing after the line end is taken from a pipe.
    // End of input and a missing or failing standard input end the line too.
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    if (input == nullptr || input == INVALID_HANDLE_VALUE) return;
    char c = 0;
    DWORD got = 0;
    while (ReadFile(input, &c, 1, &got, nullptr) && got == 1 && c != '\n') {
    }
}

}  // namespace vormi::platform
