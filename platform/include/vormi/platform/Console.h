// The console: raw bytes to standard output and one line from standard input.
// Line ends, code page conversion and message layout belong to the bench.
// Written bytes collect until a flush; bytes that cannot be written then are
// dropped.
#pragma once

#include <string_view>

namespace vormi::platform {

void ConsoleWrite(std::string_view bytes);
void ConsoleFlush();
// Reads and discards one line; end of input counts as a line.
void ConsoleReadLine();

}  // namespace vormi::platform
