#include "vormi/platform/Console.h"

#include <windows.h>

#include <cstring>

namespace vormi::platform {
namespace {

// Output collects here and leaves in large writes through the standard output
// handle (a console, a file or a pipe); line ends and prompts flush it.
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

    // Bytes that cannot be written (no standard output, or a failing one) are
    // dropped: the console is not worth stopping the program for.
    void Flush() {
        const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
        size_t done = 0;
        while (output != nullptr && output != INVALID_HANDLE_VALUE && done < Filled_) {
            DWORD put = 0;
            if (!WriteFile(output, Data_ + done, static_cast<DWORD>(Filled_ - done), &put, nullptr) || put == 0) break;
            done += put;
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
