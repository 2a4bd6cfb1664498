#include "vormi/platform/Console.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "StandardOutput.h"

namespace vormi::platform {

size_t WriteStandardOutput(const char* bytes, size_t count) {
    for (;;) {
        const ssize_t put = write(STDOUT_FILENO, bytes, count);
        if (put < 0 && errno == EINTR) continue;
        return put > 0 ? static_cast<size_t>(put) : 0;
    }
}

void ConsoleReadLine() {
    // Whatever asked for the line must be visible before the wait.
    ConsoleFlush();
    // End of input and a closed or failing standard input end the line too.
    int c = 0;
    do {
        c = std::getchar();
    } while (c != '\n' && c != EOF);
}

}  // namespace vormi::platform
