// The run-end search has a vector form on x86 and a plain twin everywhere else; both must find the
// same node for runs of every length, starting anywhere, up to the last node below the root.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>

#include "detail/RunSearch.h"
#include "vormi/codec/HufTypes.h"

namespace vormi {

namespace {

// Nodes whose weights rise by one at each index in `ends` (after it), the root heaviest.
struct Staircase {
    HufNode Nodes[kHufNodeCount] = {};

    explicit Staircase(std::initializer_list<uint32_t> ends) {
        uint32_t weight = 1;
        auto next = ends.begin();
        for (uint32_t i = 0; i < kHufRoot; ++i) {
            Nodes[i].Weight = weight;
            if (next != ends.end() && *next == i) {
                ++weight;
                ++next;
            }
        }
        Nodes[kHufRoot].Weight = weight + 1000;
    }
};

TEST(RunSearch, BothFormsFindTheRunsLastNodeFromEveryStart) {
    // Runs of 1 to 9 nodes at every offset from a group of four, and one reaching the root.
    const Staircase tree({0, 2, 5, 9, 14, 20, 27, 35, 44, 100, 101, 102, 103, 104, 200, 300, 497, 505, 506});
    for (uint32_t first = 0; first < kHufRoot; ++first) {
        const uint32_t weight = tree.Nodes[first].Weight;
        uint32_t last = first;
        while (tree.Nodes[last + 1].Weight == weight) ++last;
        ASSERT_EQ(huf_detail::LastOfRun(tree.Nodes, first, weight), last) << "from " << first;
        ASSERT_EQ(huf_detail::LastOfRunPortable(tree.Nodes, first, weight), last) << "from " << first;
    }
}

}  // namespace

}  // namespace vormi
