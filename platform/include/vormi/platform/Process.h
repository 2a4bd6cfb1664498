// What the process knows about itself: its own path and its parameters.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vormi::platform {

// Full path of the running executable.
std::string ExecutablePath();

// The program's parameters after parameter 0. Where the system hands over an
// argument vector (POSIX) it is used as given; where it hands over one command
// line (Windows) that line is split by SplitCommandLine and its first
// parameter, the program's own name, is dropped.
std::vector<std::string> ProgramParameters(int argc, char** argv);

// Splits a command line by the program's own rules: blanks and control
// characters (codes 1 to 32) separate parameters; a double-quoted stretch may
// hold blanks, and the quotes themselves are dropped; a pair of adjacent double
// quotes at the start of a parameter is skipped, so it never forms an empty
// parameter; a parameter keeps at most kMaxParameterLength characters. A NUL
// ends the line.
inline constexpr std::size_t kMaxParameterLength = 4096;
std::vector<std::string> SplitCommandLine(std::string_view line);

// Output that nobody reads any more (a closed pipe) must not end the process:
// such writes fail and are dropped instead. Called once at start.
void IgnoreBrokenPipes();

}  // namespace vormi::platform
