// Fixed-point text of extended-precision values, as the program's run reports
// show them. In the library so that tools built on it print ratios rounded
// exactly as the program prints them.
#pragma once

#include <string>
#include <string_view>

namespace vormi {

// value with exactly `decimals` digits after a "." (none and no point for 0),
// rounded half away from zero on its 18-significant-digit decimal expansion,
// "-" for negatives, right-aligned in at least `width` characters. 0.125 in
// 2:2 is "0.13", 7 in 2:0 is " 7". value must be finite.
std::string FormatFixed(long double value, int width, int decimals);

// text preceded by blanks up to width characters.
std::string PadLeft(std::string_view text, int width);

}  // namespace vormi
