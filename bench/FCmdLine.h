// The command line of the bench: the options record, its parser with the
// parse diagnostics, and the usage text.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "vormi/zkfile/FileCoding.h"

namespace vormi {

enum BenchCommand : uint8_t {
    cmdNone = 0,  // show the usage text
    cmdPack = 1,
    cmdUnpack = 2,
    cmdPackUnpackCompare = 3,
};

struct BenchOptions {
    std::string File0;       // source
    std::string File1;       // compressed file
    std::string File2;       // restored file
    std::string WorkFolder;  // put in front of names that carry no folder
    uint8_t Command = cmdNone;
    int32_t BufferSize = 0;
    int32_t HalvingPeriod = 0;  // 0: none requested
    uint16_t RepeatCount = 0;
};

namespace FCmdLine {

// The same default as the library's one-call PackFile and UnpackFile.
inline constexpr int32_t kDefaultBufferSize = static_cast<int32_t>(ZkDefaultBufferSize);
inline constexpr int32_t kLeastBufferSize = 1000;
inline constexpr int32_t kGreatestBufferSize = 2147482623;
inline constexpr int32_t kLeastHalvingPeriod = 1280;
inline constexpr int32_t kGreatestHalvingPeriod = 2147482623;
inline constexpr int32_t kGreatestRepeatCount = 100;
// Longest number text after an option key.
inline constexpr size_t kMaxNumberText = 255;

// Fills options from the program's parameters (parameters[0] is the first one
// after the program name) and prints the parse lines. Command 0 afterwards
// means the usage text is due.
void ParseCommandLine(BenchOptions& options, std::span<const std::string> parameters);

// Puts folder (and a separator, unless it ends in one) in front of a name that
// has no folder part of its own.
void PrefixWorkFolder(std::string& name, const std::string& folder);

// A 32-bit number in decimal ([+-]digits) or hexadecimal ($, x, X, 0x or 0X and
// one to eight digits, wrapping above 0x7FFFFFFF), after leading blanks, using
// up the whole text. False for anything else, including text longer than
// kMaxNumberText.
bool ParseNumber(std::string_view text, int32_t& value);

void ShowHelp();

}  // namespace FCmdLine

}  // namespace vormi
