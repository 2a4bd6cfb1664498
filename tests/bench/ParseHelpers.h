// Runs the command-line parser and the work-folder rule, keeping their console bytes.
#pragma once

#include <string>
#include <vector>

#include "ConsoleText.h"
#include "FCmdLine.h"

namespace vormi {

inline std::string Prefixed(std::string name, const std::string& folder) {
    FCmdLine::PrefixWorkFolder(name, folder);
    return name;
}

struct Parsed {
    BenchOptions Options;
    std::string Output;
};

inline Parsed Parse(std::vector<std::string> parameters) {
    Parsed parsed;
    console::Capture capture;
    FCmdLine::ParseCommandLine(parsed.Options, parameters);
    parsed.Output = capture.Text();
    return parsed;
}

}  // namespace vormi
