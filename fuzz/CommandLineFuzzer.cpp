// The command-line parser on arbitrary parameters: the input split at NUL bytes
// gives the parameters after the program's name. Whatever they hold, the
// options must come out within the ranges the runs rely on, and nothing may be
// printed when there is no parameter.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ConsoleText.h"
#include "FCmdLine.h"
#include "FuzzSupport.h"
#include "vormi/platform/FileMeta.h"

using namespace vormi;

using fuzz::Require;

namespace {

std::vector<std::string> SplitAtNul(const uint8_t* data, size_t size) {
    std::vector<std::string> parameters;
    if (size == 0) return parameters;
    const char* text = reinterpret_cast<const char*>(data);
    size_t start = 0;
    for (size_t i = 0; i <= size; ++i) {
        if (i == size || text[i] == '\0') {
            parameters.emplace_back(text + start, i - start);
            start = i + 1;
        }
    }
    return parameters;
}

bool Within(int32_t value, int32_t least, int32_t greatest) { return value >= least && value <= greatest; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> parameters = SplitAtNul(data, size);
    BenchOptions options;
    console::Capture capture;
    FCmdLine::ParseCommandLine(options, parameters);

    Require(options.Command <= cmdPackUnpackCompare, "command out of range");
    Require(Within(options.BufferSize, FCmdLine::kLeastBufferSize, FCmdLine::kGreatestBufferSize),
            "buffer size out of range");
    Require(options.RepeatCount <= FCmdLine::kGreatestRepeatCount, "repeat count out of range");
    Require(options.HalvingPeriod == 0 ||
                Within(options.HalvingPeriod, FCmdLine::kLeastHalvingPeriod, FCmdLine::kGreatestHalvingPeriod),
            "halving period out of range");
    if (parameters.empty()) {
        Require(capture.Text().empty(), "the parser printed with no parameters");
        return 0;
    }
    Require(options.Command == cmdNone || parameters[0] == "c" || parameters[0] == "d" || parameters[0] == "cd",
            "a command without its word");
    // Every name ends up with a folder: its own or the work folder.
    for (const std::string* name : {&options.File0, &options.File1, &options.File2})
        Require(!platform::FolderOf(*name).empty(), "a name left without a folder");
    return 0;
}
