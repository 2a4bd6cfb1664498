// The chart: coding ratio against the halving limit, one line per file with
// its best point and its entropy, and the codec's speeds below it. A
// self-contained SVG whose bytes depend only on the figures.
#pragma once

#include <string>

#include "Sweep.h"

namespace sweep {

std::string ChartSvg(const SweepResult& result);

}  // namespace sweep
