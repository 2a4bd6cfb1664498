// One file at one halving limit: its exact compressed size, halvings and
// coding ratio, every round trip checked, and the codec's speed in memory.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace sweep {

struct MeasureOptions {
    uint32_t Limit = 1280;
    int TimedRuns = 0;        // after one warm-up pass; 0: one pass, sizes only
    bool CountBytes = false;  // also count the byte values (for the entropy)
};

struct Measurement {
    bool Ok = false;
    std::string Error;  // why not, when !Ok
    uint64_t SourceBytes = 0;
    uint64_t StreamBytes = 0;  // the coded stream, as a compressed file holds it
    int64_t Halvings = 0;
    double CodingRatio = 0;                      // the codec's own, as the program reports it
    std::optional<double> PackMbps, UnpackMbps;  // 10^6 bytes per second, median of the timed runs
    std::array<uint64_t, 256> ByteCounts{};      // with CountBytes
};

// Reads the file in blocks and codes each with an encoder and a decoder in
// step, so memory stays a few megabytes whatever the file's size. Only the
// codec's calls are timed, not the reading or the comparison.
Measurement Measure(const std::string& path, const MeasureOptions& options);

}  // namespace sweep
