// The timed runs: one ZkFile operation repeated, timed with the millisecond
// clock, then the error of the last repetition or the report.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vormi {

class ZkFile;

// A repeat count of 0 runs once.
void PackRun(ZkFile& file, uint16_t repeatCount, const std::string& sourceName, const std::string& packedName);
// Without permitOverwrite an existing output file is left alone and the run
// reports the overwrite error.
void UnpackRun(ZkFile& file, uint16_t repeatCount, const std::string& packedName, const std::string& outputName,
               bool permitOverwrite = true);

// Report arithmetic in extended precision; nothing when a divisor is 0.
std::optional<long double> TimePerOperation(uint32_t elapsed, uint32_t repeats);
std::optional<long double> BytesPerSecond(uint32_t size, uint32_t elapsed, uint32_t repeats);
std::optional<long double> SizeRatio(uint32_t packedSize, uint32_t sourceSize);

}  // namespace vormi
