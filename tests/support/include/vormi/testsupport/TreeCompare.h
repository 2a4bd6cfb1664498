// The adaptive tree as the tests read it: a symbol's code, and the first place
// where two trees differ. Templates, so that the production tree and the
// tests' literal model of it are read by the same lines.
#pragma once

#include <cstdint>
#include <string>

#include "vormi/codec/HufTypes.h"

namespace vormi::testsupport {

// A symbol's code, root bit first, as '0' and '1', read bottom-up through the link table.
template <class Tree>
std::string CodeOf(const Tree& tree, int symbol) {
    std::string code;
    for (int n = tree.LinkTable[kHufLeafLinkBase + symbol]; n != kHufRoot; n = tree.LinkTable[n >> 1]) {
        code.insert(code.begin(), static_cast<char>('0' + (n & 1)));
    }
    return code;
}

// Empty when the two trees hold the same nodes and the same link table
// (entry 255 is never used); otherwise a description of the first difference.
// Counters are not compared: the callers' trees may have coded different texts.
template <class Expected, class Actual>
std::string FirstTreeDifference(const Expected& expected, const Actual& actual) {
    for (int i = 0; i < kHufNodeCount; ++i) {
        const auto& want = expected.Nodes[i];
        const auto& got = actual.Nodes[i];
        if (want.Weight != got.Weight || want.Link != got.Link) {
            return "node " + std::to_string(i) + ": expected (" + std::to_string(want.Weight) + ", " +
                   std::to_string(want.Link) + "), got (" + std::to_string(got.Weight) + ", " +
                   std::to_string(got.Link) + ")";
        }
    }
    for (int k = 0; k < 512; ++k) {
        if (k != 255 && expected.LinkTable[k] != actual.LinkTable[k]) {
            return "LinkTable[" + std::to_string(k) + "]: expected " + std::to_string(expected.LinkTable[k]) +
                   ", got " + std::to_string(actual.LinkTable[k]);
        }
    }
    return {};
}

}  // namespace vormi::testsupport
