#include <cstdint>
#include <string_view>

#include "FCmdLine.h"

namespace vormi::FCmdLine {
namespace {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool ParseHex(std::string_view digits, int32_t& value) {
    if (digits.empty() || digits.size() > 8) return false;
    uint32_t bits = 0;
    for (const char c : digits) {
        const int digit = HexDigitValue(c);
        if (digit < 0) return false;
        bits = (bits << 4) | static_cast<uint32_t>(digit);
    }
    value = static_cast<int32_t>(bits);
    return true;
}

bool ParseDecimal(std::string_view text, int32_t& value) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return false;
    // The magnitude may reach 2^31 for the lowest negative value.
    const uint64_t limit = negative ? uint64_t{1} << 31 : (uint64_t{1} << 31) - 1;
    uint64_t magnitude = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        magnitude = magnitude * 10 + static_cast<uint64_t>(c - '0');
        if (magnitude > limit) return false;
    }
    value = static_cast<int32_t>(negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude));
    return true;
}

}  // namespace

bool ParseNumber(std::string_view text, int32_t& value) {
    // A longer text would have to be cut, and the cut text could read as a
    // different number; refuse it instead.
    if (text.size() > kMaxNumberText) return false;
    const size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) return false;
    text.remove_prefix(start);

    if (text.starts_with('$') || text.starts_with('x') || text.starts_with('X')) return ParseHex(text.substr(1), value);
    if (text.starts_with("0x") || text.starts_with("0X")) return ParseHex(text.substr(2), value);
    return ParseDecimal(text, value);
}

}  // namespace vormi::FCmdLine
