#include "vormi/zkfile/FixedPoint.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vormi {

namespace {

constexpr int kSignificantDigits = 18;

// Adds one unit in the last place of a string of decimal digits; true when the
// carry runs out of the front (all nines).
bool IncrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return false;
        }
        *it = '0';
    }
    return true;
}

}  // namespace

std::string PadLeft(std::string_view text, int width) {
    std::string out;
    if (width > 0 && text.size() < static_cast<size_t>(width))
        out.assign(static_cast<size_t>(width) - text.size(), ' ');
    out.append(text);
    return out;
}

std::string FormatFixed(long double value, int width, int decimals) {
    if (decimals < 0) decimals = 0;
    if (!std::isfinite(value)) return PadLeft(std::isnan(value) ? "nan" : "inf", width);

    // "d.ddddddddddddddddde+XX": the value's 18 significant digits, already
    // rounded by the C library from the exact binary value.
    char expansion[64];
    std::snprintf(expansion, sizeof expansion, "%.*Le", kSignificantDigits - 1, std::fabs(value));
    std::string digits;
    const char* p = expansion;
    for (; *p != 'e' && *p != '\0'; ++p)
        if (*p >= '0' && *p <= '9') digits.push_back(*p);
    const long exponent = *p == 'e' ? std::strtol(p + 1, nullptr, 10) : 0;

    // digits[0 .. integerDigits) is the integer part; give it at least one digit.
    long integerDigits = exponent + 1;
    if (integerDigits < 1) {
        digits.insert(0, static_cast<size_t>(1 - integerDigits), '0');
        integerDigits = 1;
    }
    const size_t kept = static_cast<size_t>(integerDigits) + static_cast<size_t>(decimals);
    if (digits.size() > kept) {
        const bool roundUp = digits[kept] >= '5';
        digits.resize(kept);
        if (roundUp && IncrementDigits(digits)) {
            digits.insert(digits.begin(), '1');
            ++integerDigits;
        }
    } else {
        digits.append(kept - digits.size(), '0');
    }

    std::string text;
    if (value < 0) text.push_back('-');
    text.append(digits, 0, static_cast<size_t>(integerDigits));
    if (decimals > 0) {
        text.push_back('.');
        text.append(digits, static_cast<size_t>(integerDigits), std::string::npos);
    }
    return PadLeft(text, width);
}

}  // namespace vormi
