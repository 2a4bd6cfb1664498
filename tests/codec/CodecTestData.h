// Deterministic inputs for the codec tests and the plain ways of driving the
// codec that several test files share.
#pragma once

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "vormi/codec/ZkCodec.h"
#include "vormi/testsupport/TestData.h"
#include "vormi/testsupport/WholeStream.h"

namespace vormi::testdata {

// Symbol frequencies falling off by the golden ratio, like Fibonacci weights:
// the most lopsided trees adaptive coding meets, hence the longest codes.
inline Bytes Skewed(size_t n, uint64_t seed) {
    Rng rng(seed);
    Bytes out(n);
    for (auto& b : out) {
        const auto rank = static_cast<uint32_t>(std::log(rng.Unit()) / std::log(0.618));
        b = static_cast<uint8_t>((rank > 255 ? 255 : rank) * 97 + 13);
    }
    return out;
}

// Each byte value half as frequent as the one before (0 in two bytes, 1 in four, ...).
inline Bytes Halving(size_t n, uint64_t seed) {
    Rng rng(seed);
    Bytes out(n);
    for (auto& b : out) b = static_cast<uint8_t>(std::countr_zero(rng.Next() | 0x80000000u));
    return out;
}

// Eighteen byte values with frequencies rising by the golden ratio, dealt out
// smoothly; the other values never occur. After two million bytes the unseen
// values sit some 26 levels deep, so coding them gives the longest codes a test
// can reach in reasonable time.
inline Bytes DeepTree(size_t n) {
    constexpr int kRanks = 18;
    double share[kRanks], credit[kRanks] = {}, total = 0;
    for (int k = 0; k < kRanks; ++k) total += share[k] = std::pow(1.618034, k);
    Bytes out(n);
    for (auto& b : out) {
        int best = 0;
        for (int k = 0; k < kRanks; ++k) {
            credit[k] += share[k] / total;
            if (credit[k] > credit[best]) best = k;
        }
        credit[best] -= 1;
        b = static_cast<uint8_t>(best * 97 + 13);
    }
    return out;
}

inline Bytes Repeated(size_t n, uint8_t value) { return Bytes(n, value); }

inline Bytes Cycling(size_t n) {
    Bytes out(n);
    for (size_t i = 0; i < n; ++i) out[i] = static_cast<uint8_t>(i);
    return out;
}

struct NamedInput {
    std::string Name;
    Bytes Data;
};

inline std::vector<NamedInput> CorpusLikeInputs(size_t n, uint64_t seed) {
    return {{"text", TextLike(n, seed)},       {"skewed", Skewed(n, seed + 1)}, {"binary", BinaryLike(n, seed + 2)},
            {"uniform", Uniform(n, seed + 3)}, {"one byte", Repeated(n, 0x41)}, {"cycling", Cycling(n)}};
}

// The four bytes that follow the coded stream in a compressed file.
inline constexpr uint8_t kEndMarker[4] = {0x23, 0x01, 0xCD, 0xAB};

inline ZkCodec CodecForEncoding(uint32_t period) {
    ZkCodec codec;
    codec.HalvingPeriod = period;
    codec.ResetForEncoding();
    return codec;
}

inline ZkCodec CodecForDecoding(uint32_t period) {
    ZkCodec codec;
    codec.HalvingPeriod = period;
    codec.ResetForDecoding();
    return codec;
}

// Folder of sample files the tests use when present: $VORMI_CORPUS, else the
// shared corpus next to the checkout.
inline std::filesystem::path CorpusFolder() {
    if (const char* env = std::getenv("VORMI_CORPUS")) return env;
    return std::filesystem::path(__FILE__).parent_path() / ".." / ".." / ".." / "shared" / "corpus";
}

inline std::vector<std::filesystem::path> CorpusFiles() {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(CorpusFolder(), error)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

inline Bytes ReadPrefix(const std::filesystem::path& file, size_t most) {
    std::ifstream in(file, std::ios::binary);
    Bytes data(most);
    in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(most));
    data.resize(static_cast<size_t>(in.gcount()));
    return data;
}

}  // namespace vormi::testdata
