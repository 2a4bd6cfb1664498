// Deterministic generated data: the same bytes on every platform, processor
// and standard library, so that a test or a benchmark sees the same input
// wherever it runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vormi::testdata {

using Bytes = std::vector<uint8_t>;

// xorshift64*: the same sequence on every platform and standard library.
class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
    uint32_t Next() {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return static_cast<uint32_t>((state_ * 0x2545F4914F6CDD1Dull) >> 32);
    }
    uint32_t Below(uint32_t bound) { return Next() % bound; }
    double Unit() { return (Next() + 1.0) / 4294967296.0; }  // (0, 1]

private:
    uint64_t state_;
};

// Every byte value equally likely: what no model compresses.
Bytes Uniform(size_t n, uint64_t seed);

// Words of Latin and code page 1251 Cyrillic letters, spaces, punctuation, CR LF.
Bytes TextLike(size_t n, uint64_t seed);

// Fixed-size records: a rising counter, small numbers, zero padding, noise.
Bytes BinaryLike(size_t n, uint64_t seed);

}  // namespace vormi::testdata
