#include "vormi/platform/Console.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vormi::platform {
namespace {

// Output collects here and leaves in large writes; line ends and prompts
// flush it explicitly.
class OutputBuffer {
public:
    ~OutputBuffer() { Flush(); }

    void Append(std::string_view bytes) {
        while (!bytes.empty()) {
            if (Filled_ == sizeof Data_) Flush();
            const size_t room = sizeof Data_ - Filled_;
            const size_t take = bytes.size() < room ? bytes.size() : room;
            std::memcpy(Data_ + Filled_, bytes.data(), take);
            Filled_ += take;
            bytes.remove_prefix(take);
        }
    }

    // Bytes that cannot be written (standard output closed or failing) are
    // dropped: the console is not worth stopping the program for.
    void Flush() {
        size_t done = 0;
        while (done < Filled_) {
            const ssize_t put = write(STDOUT_FILENO, Data_ + done, Filled_ - done);
            if (put < 0 && errno == EINTR) continue;
            if (put <= 0) break;
            done += static_cast<size_t>(put);
        }
        Filled_ = 0;
    }

private:
    char Data_[1 << 16];
    size_t Filled_ = 0;
};

OutputBuffer& Output() {
    static OutputBuffer output;
    return output;
}

}  // namespace

void ConsoleWrite(std::string_view bytes) { Output().Append(bytes); }

void ConsoleFlush() { Output().Flush(); }

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
