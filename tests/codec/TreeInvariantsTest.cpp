// Structural invariants of the production tree under long update sequences,
// checked without the reference model.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CodecTestData.h"
#include "vormi/codec/HufTree.h"

namespace vormi {

namespace {

using testdata::Bytes;

// Empty when every invariant holds, else the first one broken.
std::string BrokenInvariant(const HufTree& tree) {
    const auto at = [](const char* what, int i) { return std::string(what) + " at node " + std::to_string(i); };
    if (tree.Nodes[kHufRoot].Link != kHufRootPair) return "root link is not 254";
    if (tree.LinkTable[kHufRootPair] != kHufRoot) return "root pair's entry is not 510";
    if (tree.Nodes[kHufRoot].Weight > tree.HalveLimit) return "root weighs more than the halving limit";
    for (int i = 0; i < kHufNodeCount; ++i) {
        const HufNode& node = tree.Nodes[i];
        if (node.Weight == 0) return at("zero weight", i);
        if (i > 0 && node.Weight < tree.Nodes[i - 1].Weight) return at("weight below its left neighbour", i);
        if (node.Link == 255 || node.Link > 511) return at("invalid link", i);
        if (tree.LinkTable[node.Link] != i) return at("link table does not point back", i);
        if (node.Link < kHufLeafLinkBase) {
            if (2 * node.Link + 1 >= i) return at("child pair not below its parent", i);
            if (node.Weight != tree.Nodes[2 * node.Link].Weight + tree.Nodes[2 * node.Link + 1].Weight) {
                return at("weight is not the sum of its children", i);
            }
        }
    }
    // Distinct links pointing back (above) make a tree; check that it holds
    // every leaf and that every node hangs below the root.
    bool reached[kHufNodeCount] = {};
    int pending[kHufNodeCount];
    int pendingCount = 0;
    pending[pendingCount++] = kHufRoot;
    int leaves = 0;
    while (pendingCount > 0 && pendingCount < kHufNodeCount - 1) {
        const int n = pending[--pendingCount];
        reached[n] = true;
        const uint16_t link = tree.Nodes[n].Link;
        if (link >= kHufLeafLinkBase) {
            ++leaves;
        } else {
            pending[pendingCount++] = 2 * link;
            pending[pendingCount++] = 2 * link + 1;
        }
    }
    if (leaves != 256) return "tree does not hold 256 leaves";
    for (int i = 0; i < kHufNodeCount; ++i) {
        if (!reached[i]) return at("unreachable", i);
    }
    return {};
}

uint32_t LeafWeight(const HufTree& tree, int symbol) { return tree.Nodes[tree.LinkTable[256 + symbol]].Weight; }

struct Distribution {
    const char* Name;
    Bytes (*Make)(size_t, uint64_t);
};

const Distribution kDistributions[] = {
    {"uniform", testdata::Uniform},
    {"skewed", testdata::Skewed},
    {"text", testdata::TextLike},
    {"one byte", [](size_t n, uint64_t) { return testdata::Repeated(n, 0xE5); }},
};

TEST(TreeInvariants, HoldAfterEveryUpdateAndHalving) {
    for (uint32_t limit : {1280u, 1281u, 5000u, 2147483648u}) {
        for (const Distribution& distribution : kDistributions) {
            const Bytes symbols = distribution.Make(40000, limit);
            HufTree tree;
            HufInit(limit, tree);
            ASSERT_EQ(BrokenInvariant(tree), "");
            for (size_t i = 0; i < symbols.size(); ++i) {
                const bool halves = tree.Nodes[kHufRoot].Weight >= tree.HalveLimit;
                const uint64_t halvingsBefore = tree.Halvings;
                HufUpdate(symbols[i], tree);
                const std::string broken = BrokenInvariant(tree);
                ASSERT_EQ(broken, "") << distribution.Name << " symbols, limit " << limit << ", update #" << i;
                ASSERT_EQ(tree.Halvings, halvingsBefore + (halves ? 1 : 0)) << "update #" << i;
                ASSERT_EQ(tree.SymbolCount, i + 1);
                if (halves) {
                    // Halved, then incremented once.
                    ASSERT_LE(tree.Nodes[kHufRoot].Weight, tree.HalveLimit / 2 + 256 + 1) << "update #" << i;
                }
            }
            if (limit <= 1281) {
                // A halving at least every (limit / 2 - 256) updates after the first.
                EXPECT_GE(tree.Halvings, 40000u / 1000) << distribution.Name << ", limit " << limit;
            }
        }
    }
}

TEST(TreeInvariants, HalvingMapsEveryLeafWeightAndKeepsTheCounters) {
    for (const Distribution& distribution : kDistributions) {
        HufTree tree;
        HufInit(4294967295u, tree);  // never halves by itself
        for (uint8_t symbol : distribution.Make(30000, 5)) HufUpdate(symbol, tree);
        const uint64_t symbolCount = tree.SymbolCount;
        // Repeated halvings drive every seen leaf down to 2; unseen ones stay 1.
        for (int round = 1; round <= 20; ++round) {
            std::vector<uint32_t> before(256);
            for (int s = 0; s < 256; ++s) before[s] = LeafWeight(tree, s);
            HufHalve(tree);
            ASSERT_EQ(BrokenInvariant(tree), "") << distribution.Name << ", halving " << round;
            for (int s = 0; s < 256; ++s) {
                ASSERT_EQ(LeafWeight(tree, s), before[s] / 2 + 1) << distribution.Name << ", symbol " << s;
            }
            EXPECT_EQ(tree.Halvings, static_cast<uint64_t>(round));
            EXPECT_EQ(tree.SymbolCount, symbolCount);
        }
        for (int s = 0; s < 256; ++s) EXPECT_LE(LeafWeight(tree, s), 2u) << distribution.Name << ", symbol " << s;
    }
}

}  // namespace

}  // namespace vormi
