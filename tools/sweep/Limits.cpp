#include "Limits.h"

#include <algorithm>
#include <charconv>

namespace sweep {

namespace {

// A whole decimal number, nothing else; values beyond 64 bits fail.
bool ParseNumber(std::string_view text, uint64_t& value) {
    if (text.empty()) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

bool ParseLimit(std::string_view text, uint64_t& value, std::string& error) {
    if (!ParseNumber(text, value)) {
        error = "'" + std::string(text) + "' is not a whole number";
        return false;
    }
    if (value < kSmallestLimit || value > kLargestLimit) {
        error = std::string(text) + " is outside the halving limits " + std::to_string(kSmallestLimit) + " to " +
                std::to_string(kLargestLimit);
        return false;
    }
    return true;
}

// "start..endxfactor"
bool ParseRange(std::string_view item, std::vector<uint32_t>& limits, std::string& error) {
    const size_t dots = item.find("..");
    const size_t times = item.find('x', dots);
    if (times == std::string_view::npos) {
        error = "the range '" + std::string(item) + "' has no factor (write it as 1280..1310720x2)";
        return false;
    }
    uint64_t start = 0, end = 0, factor = 0;
    if (!ParseLimit(item.substr(0, dots), start, error) ||
        !ParseLimit(item.substr(dots + 2, times - dots - 2), end, error))
        return false;
    if (!ParseNumber(item.substr(times + 1), factor) || factor < 2) {
        error = "the factor of the range '" + std::string(item) + "' must be a whole number of at least 2";
        return false;
    }
    if (end < start) {
        error = "the range '" + std::string(item) + "' ends below its start";
        return false;
    }
    for (uint64_t limit = start;; limit *= factor) {
        limits.push_back(static_cast<uint32_t>(limit));
        if (limit > end / factor) break;  // the next one would pass the end (and never overflows)
    }
    return true;
}

}  // namespace

std::vector<uint32_t> DefaultLimits() {
    std::vector<uint32_t> limits;
    for (uint32_t limit = kSmallestLimit; limit <= 1310720; limit *= 2) limits.push_back(limit);
    limits.push_back(kLargestLimit);
    return limits;
}

bool ParseLimits(std::string_view text, std::vector<uint32_t>& limits, std::string& error) {
    limits.clear();
    size_t start = 0;
    while (true) {
        const size_t comma = text.find(',', start);
        const std::string_view item = text.substr(start, comma == std::string_view::npos ? comma : comma - start);
        if (item.empty()) {
            error = "an empty item in the list '" + std::string(text) + "'";
            return false;
        }
        if (item.find("..") != std::string_view::npos) {
            if (!ParseRange(item, limits, error)) return false;
        } else {
            uint64_t limit = 0;
            if (!ParseLimit(item, limit, error)) return false;
            limits.push_back(static_cast<uint32_t>(limit));
        }
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    std::sort(limits.begin(), limits.end());
    limits.erase(std::unique(limits.begin(), limits.end()), limits.end());
    return true;
}

}  // namespace sweep
