#include "ConsoleText.h"

#include <cmath>

#include "BenchTexts.h"
#include "vormi/platform/CodePage.h"
#include "vormi/platform/Console.h"
#include "vormi/zkfile/FixedPoint.h"

namespace vormi::console {
namespace {

std::string* CaptureTarget = nullptr;

}  // namespace

std::string ToOem(std::string_view ansiText) { return platform::AnsiTextToOem(ansiText); }

void WriteMessage(std::string_view ansiText) { Write(ToOem(ansiText)); }

void Write(std::string_view bytes) {
    if (CaptureTarget != nullptr)
        CaptureTarget->append(bytes);
    else
        platform::ConsoleWrite(bytes);
}

void WriteInt(int64_t value) { Write(std::to_string(value)); }

void WriteUnsigned(uint64_t value) { Write(std::to_string(value)); }

void WriteFixed(std::optional<long double> value, int width, int decimals) {
    // The text is padded before its conversion: the width counts characters,
    // and the console's set may take more than one byte for one.
    if (value && std::isfinite(*value))
        Write(FormatFixed(*value, width, decimals));
    else
        WriteMessage(PadLeft(txt::kNotAvailable, width));
}

void EndLine() {
    Write("\r\n");
    Flush();
}

void Flush() {
    if (CaptureTarget == nullptr) platform::ConsoleFlush();
}

Capture::Capture() : Previous_(CaptureTarget) { CaptureTarget = &Text_; }

Capture::~Capture() { CaptureTarget = Previous_; }

}  // namespace vormi::console
