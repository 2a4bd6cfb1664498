// The bench's console output: message texts converted to the console's code
// page, raw bytes, decimal integers and fixed-point values, with CR LF line
// ends that flush. Only message texts are converted; file names, parameters
// and numbers go out as they are.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vormi::console {

// A message text (code page 1251) in the console's code page.
std::string ToOem(std::string_view ansiText);
// Writes a message text through ToOem.
void WriteMessage(std::string_view ansiText);

void Write(std::string_view bytes);
void WriteInt(int64_t value);
void WriteUnsigned(uint64_t value);
// value in fixed-point form width:decimals; without a value (a quotient whose
// divisor was 0) the "not available" text stands in the same field.
void WriteFixed(std::optional<long double> value, int width, int decimals);
// CR LF, then flush.
void EndLine();
void Flush();

// While one of these lives, output collects in it instead of reaching the
// console (for tests).
class Capture {
public:
    Capture();
    ~Capture();
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;

    const std::string& Text() const { return Text_; }

private:
    std::string Text_;
    std::string* Previous_;
};

}  // namespace vormi::console
