#include "vormi/testsupport/TestData.h"

namespace vormi::testdata {

Bytes Uniform(size_t n, uint64_t seed) {
    Rng rng(seed);
    Bytes out(n);
    for (auto& b : out) b = static_cast<uint8_t>(rng.Next());
    return out;
}

Bytes TextLike(size_t n, uint64_t seed) {
    static constexpr char kLatin[] = "eeeeetttaaaoooiinnsshhrrdlcumwfgypbvk";
    Rng rng(seed);
    Bytes out;
    out.reserve(n);
    size_t lineLength = 0;
    while (out.size() < n) {
        const bool cyrillic = rng.Below(4) == 0;
        const uint32_t wordLength = 1 + rng.Below(9);
        for (uint32_t i = 0; i < wordLength; ++i) {
            out.push_back(cyrillic ? static_cast<uint8_t>(0xE0 + rng.Below(16) + rng.Below(16))
                                   : static_cast<uint8_t>(kLatin[rng.Below(sizeof kLatin - 1)]));
        }
        lineLength += wordLength + 1;
        if (rng.Below(8) == 0) out.push_back(static_cast<uint8_t>(",.;:!?"[rng.Below(6)]));
        if (lineLength > 60) {
            out.push_back('\r');
            out.push_back('\n');
            lineLength = 0;
        } else {
            out.push_back(' ');
        }
    }
    out.resize(n);
    return out;
}

Bytes BinaryLike(size_t n, uint64_t seed) {
    Rng rng(seed);
    Bytes out;
    out.reserve(n + 16);
    for (uint32_t record = 0; out.size() < n; ++record) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(record >> (8 * i)));
        out.push_back(static_cast<uint8_t>(rng.Below(10)));
        out.push_back(0);
        for (int i = 0; i < 4; ++i) out.push_back(0);
        for (int i = 0; i < 5; ++i) out.push_back(static_cast<uint8_t>(rng.Next()));
        out.push_back(0xFF);
    }
    out.resize(n);
    return out;
}

}  // namespace vormi::testdata
