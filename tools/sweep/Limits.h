// The halving limits of a sweep: the default set, and the --limits list.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sweep {

inline constexpr uint32_t kSmallestLimit = 1280;
// The largest limit the codec takes: for practical purposes no halving at all.
inline constexpr uint32_t kLargestLimit = 2147482623;
inline constexpr uint32_t kDefaultLimit = 1280;  // the program's own, without /h:

// 1280 and its doublings up to 1,310,720, then the largest limit.
std::vector<uint32_t> DefaultLimits();

// A list such as "1280,4096,65536", a geometric range "1280..1310720x2"
// (start, each one times the factor, up to the end), or both mixed:
// "1280,5000..80000x4". The result is sorted and without repeats. On a
// malformed list or a limit outside 1280..2147482623 it returns false and
// says why in error.
bool ParseLimits(std::string_view text, std::vector<uint32_t>& limits, std::string& error);

}  // namespace sweep
