#include <cstdint>
#include <utility>

#include "vormi/platform/Process.h"

namespace vormi::platform {
namespace {

// Blanks and control characters separate parameters; bytes above 127 are
// ordinary characters.
bool IsSeparator(char c) {
    const auto code = static_cast<uint8_t>(c);
    return code >= 1 && code <= 32;
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
    if (const size_t end = line.find('\0'); end != std::string_view::npos) line = line.substr(0, end);
    std::vector<std::string> parameters;
    size_t at = 0;
    for (;;) {
        // Separators, and pairs of quotes that open a parameter, come before it.
        for (;;) {
            while (at < line.size() && IsSeparator(line[at])) ++at;
            if (line.compare(at, 2, "\"\"") != 0) break;
            at += 2;
        }
        if (at >= line.size()) return parameters;
        std::string parameter;
        bool quoted = false;
        for (; at < line.size() && (quoted || !IsSeparator(line[at])); ++at) {
            if (line[at] == '"') {
                quoted = !quoted;
            } else if (parameter.size() < kMaxParameterLength) {
                parameter.push_back(line[at]);
            }
        }
        parameters.push_back(std::move(parameter));
    }
}

}  // namespace vormi::platform
