// Every (file, limit) pair measured, several at once if asked, and what the
// reports show of them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Sources.h"

namespace sweep {

struct SweepOptions {
    std::vector<uint32_t> Limits;
    int TimedRuns = 3;  // 0: sizes only
    int Jobs = 1;       // pairs measured at once
    bool Progress = false;
};

struct Row {
    std::string File;
    uint32_t Limit;
    uint64_t SourceBytes;
    uint64_t PackedBytes;                  // the whole compressed file
    std::optional<long double> SizeRatio;  // none for an empty source
    double CodingRatio;
    int64_t Halvings;
    std::optional<double> PackMbps, UnpackMbps;
    bool Best;
};

struct FileSummary {
    std::string File;
    uint64_t SourceBytes;
    double EntropyRatio;  // order-0 entropy in bits per byte, over 8
    uint32_t BestLimit;
    double BestCodingRatio;
    std::optional<double> DefaultCodingRatio;  // at 1280, when swept
};

struct SweepResult {
    std::vector<Row> Rows;  // file by file, limits ascending
    std::vector<FileSummary> Files;
    std::vector<std::string> Problems;  // files left out, and why
    int Jobs = 1;
    int TimedRuns = 0;
};

SweepResult RunSweep(const std::vector<Source>& sources, const SweepOptions& options);

// The two ratios as the program prints them: four decimals, rounded as its reports round.
std::string RatioText(long double ratio);

}  // namespace sweep
