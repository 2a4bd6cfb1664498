// The console's output buffer, the same on every platform; only the write to
// standard output is the platform's own (StandardOutput.h).
#include <cstring>

#include "StandardOutput.h"
#include "vormi/platform/Console.h"

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

    // Bytes that cannot be written are dropped: the console is not worth
    // stopping the program for.
    void Flush() {
        size_t done = 0;
        while (done < Filled_) {
            const size_t put = WriteStandardOutput(Data_ + done, Filled_ - done);
            if (put == 0) break;
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

}  // namespace vormi::platform
