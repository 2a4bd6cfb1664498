#include "FCmdLine.h"

#include <bitset>

#include "BenchTexts.h"
#include "ConsoleText.h"
#include "vormi/platform/FileMeta.h"
#include "vormi/platform/Process.h"

namespace vormi::FCmdLine {
namespace {

using console::WriteMessage;

// Option keys in the order the parser tries them.
enum OptionKey { keyFile0, keyFile1, keyFile2, keyFolder, keyBuffer, keyRepeat, keyPeriod, kOptionCount };
constexpr std::string_view kOptionKeys[kOptionCount] = {"/0:", "/1:", "/2:", "/f:", "/b:", "/r:", "/h:"};
constexpr size_t kKeyLength = 3;
constexpr size_t kMaxNameText = 65535;

void ReportNumber(std::string_view message, const std::string& parameter) {
    WriteMessage(message);
    console::Write(parameter);
    console::EndLine();
}

// A message followed by a number, as one line.
void ReportValue(std::string_view message, int32_t value) {
    WriteMessage(message);
    console::WriteInt(value);
    console::EndLine();
}

// A number parameter's text, or false (with the diagnostic line and the
// command cancelled) when it is not a number.
bool TakeNumber(BenchOptions& options, const std::string& parameter, int32_t& value) {
    if (ParseNumber(std::string_view(parameter).substr(kKeyLength), value)) return true;
    ReportNumber(txt::kBadNumber, parameter);
    options.Command = cmdNone;
    return false;
}

void TakeBufferSize(BenchOptions& options, const std::string& parameter) {
    int32_t value = 0;
    if (!TakeNumber(options, parameter, value)) return;
    if (value < kLeastBufferSize) {
        WriteMessage(txt::kBufferTooSmall);
        console::WriteInt(value);
        WriteMessage(txt::kUsingMinimum);
        console::WriteInt(kLeastBufferSize);
        console::EndLine();
        value = kLeastBufferSize;
    } else if (value > kGreatestBufferSize) {
        WriteMessage(txt::kBufferTooLarge);
        console::WriteInt(value);
        WriteMessage(txt::kUsingMaximum);
        console::WriteInt(kGreatestBufferSize);
        console::EndLine();
        value = kGreatestBufferSize;
    }
    options.BufferSize = value;
    ReportValue(txt::kBufferInUse, value);
}

void TakeRepeatCount(BenchOptions& options, const std::string& parameter) {
    int32_t value = 0;
    if (!TakeNumber(options, parameter, value)) return;
    if (value == static_cast<int32_t>(options.RepeatCount)) return;
    if (value < 0 || value > kGreatestRepeatCount) {
        ReportNumber(txt::kNumberOutOfRange, parameter);
        return;
    }
    options.RepeatCount = static_cast<uint16_t>(value);
    ReportValue(txt::kRepeatInUse, value);
}

void TakeHalvingPeriod(BenchOptions& options, const std::string& parameter) {
    int32_t value = 0;
    if (!TakeNumber(options, parameter, value)) return;
    if (value == options.HalvingPeriod) return;
    if (value < kLeastHalvingPeriod || value > kGreatestHalvingPeriod) {
        ReportNumber(txt::kNumberOutOfRange, parameter);
        ReportValue(txt::kUsingLeastPeriod, kLeastHalvingPeriod);
        return;
    }
    options.HalvingPeriod = value;
    ReportValue(txt::kPeriodInUse, value);
}

// Each option is taken once; a parameter that matches no option still open
// (a stray word, an unknown or repeated option) cancels the command silently.
void TakeOption(BenchOptions& options, const std::string& parameter, std::bitset<kOptionCount>& taken) {
    for (int key = 0; key < kOptionCount; ++key) {
        if (taken[key] || !parameter.starts_with(kOptionKeys[key])) continue;
        taken[key] = true;
        const std::string name = parameter.substr(kKeyLength, kMaxNameText);
        switch (key) {
            case keyFile0:
                options.File0 = name;
                break;
            case keyFile1:
                options.File1 = name;
                break;
            case keyFile2:
                options.File2 = name;
                break;
            case keyFolder:
                options.WorkFolder = name;
                break;
            case keyBuffer:
                TakeBufferSize(options, parameter);
                break;
            case keyRepeat:
                TakeRepeatCount(options, parameter);
                break;
            case keyPeriod:
                TakeHalvingPeriod(options, parameter);
                break;
        }
        return;
    }
    options.Command = cmdNone;
}

}  // namespace

void ParseCommandLine(BenchOptions& options, std::span<const std::string> parameters) {
    options.File0 = "test.txt";
    options.File1 = "test._tx";
    options.File2 = "test.!tx";
    options.WorkFolder = std::string(platform::FolderOf(platform::ExecutablePath()));
    options.BufferSize = kDefaultBufferSize;
    options.RepeatCount = 1;
    options.Command = cmdNone;
    if (parameters.empty()) return;

    WriteMessage(txt::kParseStart);
    console::EndLine();

    const std::string& word = parameters[0];
    if (word == "c")
        options.Command = cmdPack;
    else if (word == "d")
        options.Command = cmdUnpack;
    else if (word == "cd")
        options.Command = cmdPackUnpackCompare;

    std::bitset<kOptionCount> taken;
    for (const std::string& parameter : parameters.subspan(1)) TakeOption(options, parameter, taken);

    PrefixWorkFolder(options.File0, options.WorkFolder);
    PrefixWorkFolder(options.File1, options.WorkFolder);
    PrefixWorkFolder(options.File2, options.WorkFolder);

    WriteMessage(txt::kParseEnd);
    console::EndLine();
}

void PrefixWorkFolder(std::string& name, const std::string& folder) {
    if (!platform::FolderOf(name).empty()) return;
    std::string prefixed = folder;
    // Only the separator itself counts here: a folder "c:" still gets one.
    if (prefixed.empty() || prefixed.back() != platform::FolderSeparator())
        prefixed.push_back(platform::FolderSeparator());
    name = prefixed + name;
}

void ShowHelp() {
    console::EndLine();
    for (const std::string_view line : txt::kUsage) {
        WriteMessage(line);
        console::EndLine();
    }
    console::EndLine();
}

}  // namespace vormi::FCmdLine
