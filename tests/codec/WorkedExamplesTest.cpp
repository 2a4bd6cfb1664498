// The adaptive tree's worked examples, checked node for node.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "vormi/codec/HufTree.h"
#include "vormi/testsupport/TreeCompare.h"

namespace vormi {

namespace {

using testsupport::CodeOf;
using testsupport::FirstTreeDifference;

HufTree FreshTree(uint32_t limit = 0) {
    HufTree tree{};
    HufInit(limit, tree);
    return tree;
}

struct NodeChange {
    int Index;
    uint32_t Weight;
    uint16_t Link;
};

void Apply(HufTree& tree, const std::vector<NodeChange>& nodes, const std::vector<std::pair<int, uint16_t>>& links) {
    for (const auto& c : nodes) tree.Nodes[c.Index] = HufNode{c.Weight, c.Link};
    for (const auto& [entry, node] : links) tree.LinkTable[entry] = node;
}

std::vector<int> CodeLengthHistogram(const HufTree& tree) {
    std::vector<int> histogram(256, 0);
    for (int s = 0; s < 256; ++s) ++histogram[CodeOf(tree, s).size()];
    return histogram;
}

int LeafWeight(const HufTree& tree, int symbol) { return tree.Nodes[tree.LinkTable[kHufLeafLinkBase + symbol]].Weight; }

TEST(HufInitTest, BuildsTheBalancedTableWithEightBitCodes) {
    HufTree tree;
    std::memset(&tree, 0xA5, sizeof tree);
    HufInit(0, tree);
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(tree.Nodes[i].Weight, 1u) << i;
        ASSERT_EQ(tree.Nodes[i].Link, 256 + i) << i;
        ASSERT_EQ(tree.LinkTable[256 + i], i) << i;
    }
    // Internal levels from the table: first index of each level and its weight.
    const int levelStart[] = {256, 384, 448, 480, 496, 504, 508, 510, 511};
    for (int level = 0; level < 8; ++level) {
        for (int i = levelStart[level]; i < levelStart[level + 1]; ++i) {
            ASSERT_EQ(tree.Nodes[i].Weight, 2u << level) << i;
            ASSERT_EQ(tree.Nodes[i].Link, i - 256) << i;
            ASSERT_EQ(tree.LinkTable[i - 256], i) << i;
        }
    }
    EXPECT_EQ(tree.Halvings, 0u);
    EXPECT_EQ(tree.SymbolCount, 0u);
    EXPECT_EQ(tree.BitCount.ByteCount, 0u);
    EXPECT_EQ(tree.BitCount.BitOffset, 0);
    EXPECT_EQ(CodeOf(tree, 0), "00000000");
    EXPECT_EQ(CodeOf(tree, 65), "01000001");
    EXPECT_EQ(CodeOf(tree, 255), "11111111");
}

TEST(HufInitTest, RaisesSmallLimitsToTheMinimum) {
    const std::pair<uint32_t, uint32_t> cases[] = {{0, 1280},
                                                   {1, 1280},
                                                   {1279, 1280},
                                                   {1280, 1280},
                                                   {1281, 1281},
                                                   {2147483648u, 2147483648u},
                                                   {4294967295u, 4294967295u}};
    for (const auto& [limit, expected] : cases) EXPECT_EQ(FreshTree(limit).HalveLimit, expected) << limit;
}

TEST(HufUpdateTest, FirstThreeUpdatesExchangeExactlyTheListedNodes) {
    HufTree tree = FreshTree();
    HufTree expected = tree;

    HufUpdate(65, tree);
    Apply(expected,
          {{65, 1, 511},
           {255, 2, 321},
           {383, 3, 127},
           {447, 5, 191},
           {479, 9, 223},
           {495, 17, 239},
           {503, 33, 247},
           {507, 65, 251},
           {509, 129, 253},
           {510, 257, 254}},
          {{321, 255}, {511, 65}});
    EXPECT_EQ(FirstTreeDifference(expected, tree), "");
    EXPECT_EQ(CodeOf(tree, 65), "11111111");
    EXPECT_EQ(CodeOf(tree, 255), "01000001");
    EXPECT_EQ(tree.SymbolCount, 1u);

    HufUpdate(65, tree);
    Apply(expected,
          {{255, 2, 126},
           {382, 3, 321},
           {447, 6, 191},
           {479, 10, 223},
           {495, 18, 239},
           {503, 34, 247},
           {507, 66, 251},
           {509, 130, 253},
           {510, 258, 254}},
          {{126, 255}, {321, 382}});
    EXPECT_EQ(FirstTreeDifference(expected, tree), "");
    EXPECT_EQ(CodeOf(tree, 65), "1111110");
    EXPECT_EQ(CodeOf(tree, 252), "111111110");
    EXPECT_EQ(CodeOf(tree, 253), "111111111");
    EXPECT_EQ(tree.SymbolCount, 2u);

    HufUpdate(66, tree);
    Apply(expected,
          {{66, 1, 510},
           {254, 2, 322},
           {383, 4, 127},
           {447, 7, 191},
           {479, 11, 223},
           {495, 19, 239},
           {503, 35, 247},
           {507, 67, 251},
           {509, 131, 253},
           {510, 259, 254}},
          {{322, 254}, {510, 66}});
    EXPECT_EQ(FirstTreeDifference(expected, tree), "");
    EXPECT_EQ(CodeOf(tree, 66), "11111110");
    EXPECT_EQ(CodeOf(tree, 254), "01000010");
    EXPECT_EQ(tree.SymbolCount, 3u);
}

TEST(HufUpdateTest, EqualWeightsNeverExchange) {
    HufTree tree = FreshTree();
    HufTree expected = tree;
    HufUpdate(255, tree);  // node 255 reaches 2, equal to node 256
    for (int i : {255, 383, 447, 479, 495, 503, 507, 509, 510}) ++expected.Nodes[i].Weight;
    EXPECT_EQ(FirstTreeDifference(expected, tree), "");
}

TEST(HufHalveTest, HalvesEveryLeafWithoutReachingZero) {
    HufTree tree = FreshTree();
    for (int k = 0; k < 1; ++k) HufUpdate(10, tree);
    for (int k = 0; k < 2; ++k) HufUpdate(11, tree);
    for (int k = 0; k < 3; ++k) HufUpdate(12, tree);
    HufHalve(tree);
    EXPECT_EQ(LeafWeight(tree, 10), 2);
    EXPECT_EQ(LeafWeight(tree, 11), 2);
    EXPECT_EQ(LeafWeight(tree, 12), 3);
    EXPECT_EQ(LeafWeight(tree, 0), 1);
    EXPECT_EQ(LeafWeight(tree, 255), 1);
    EXPECT_EQ(tree.Nodes[kHufRoot].Weight, 253u + 2 + 2 + 3);
    EXPECT_EQ(tree.Halvings, 1u);
}

TEST(HufHalveTest, OneRepeatedSymbolHalvesAtTheLimit) {
    HufTree tree = FreshTree(1280);
    for (int k = 0; k < 1024; ++k) HufUpdate(65, tree);
    EXPECT_EQ(tree.Halvings, 0u);
    EXPECT_EQ(tree.Nodes[kHufRoot].Weight, 1280u);
    EXPECT_EQ(LeafWeight(tree, 65), 1025);

    HufTree halvedOnly = tree;
    HufHalve(halvedOnly);
    EXPECT_EQ(LeafWeight(halvedOnly, 65), 513);
    EXPECT_EQ(halvedOnly.Nodes[kHufRoot].Weight, 768u);

    HufUpdate(65, tree);
    EXPECT_EQ(tree.Nodes[kHufRoot].Weight, 769u);
    EXPECT_EQ(LeafWeight(tree, 65), 514);
    EXPECT_EQ(tree.Halvings, 1u);
    EXPECT_EQ(tree.SymbolCount, 1025u);
    EXPECT_EQ(CodeOf(tree, 65).size(), 1u);
    const std::vector<int> lengths = CodeLengthHistogram(tree);
    EXPECT_EQ(lengths[1], 1);
    EXPECT_EQ(lengths[8], 1);
    EXPECT_EQ(lengths[9], 254);
}

TEST(HufHalveTest, LeafTakesTheLowerPositionOnEqualWeight) {
    HufTree tree = FreshTree(1280);
    for (int s = 2; s < 256; ++s) HufUpdate(static_cast<uint8_t>(s), tree);
    while (tree.Nodes[kHufRoot].Weight < 1280) HufUpdate(2, tree);
    EXPECT_EQ(tree.Halvings, 0u);

    HufHalve(tree);
    EXPECT_EQ(tree.Nodes[0].Link, 256);
    EXPECT_EQ(tree.Nodes[1].Link, 257);
    for (int i = 2; i <= 254; ++i) {
        EXPECT_GE(tree.Nodes[i].Link, 259) << i;  // a leaf of one of the symbols 3..255
        EXPECT_EQ(tree.Nodes[i].Weight, 2u) << i;
    }
    EXPECT_EQ(tree.Nodes[255].Weight, 2u);
    EXPECT_EQ(tree.Nodes[255].Link, 0);
    EXPECT_EQ(tree.LinkTable[0], 255);
}

TEST(HufDecodeStepTest, WalksFromTheLowestBitAndUpdatesOnALeaf) {
    HufTree tree = FreshTree();
    uint32_t reservoir = 130;
    uint8_t bitsLeft = 8;
    uint16_t walk = kHufRoot;
    EXPECT_TRUE(HufDecodeStep(reservoir, bitsLeft, walk, tree));
    EXPECT_EQ(walk, 65);
    EXPECT_EQ(bitsLeft, 0);
    EXPECT_EQ(tree.SymbolCount, 1u);

    tree = FreshTree();
    reservoir = 0;
    bitsLeft = 32;
    walk = kHufRoot;
    EXPECT_TRUE(HufDecodeStep(reservoir, bitsLeft, walk, tree));
    EXPECT_EQ(walk, 0);
    EXPECT_EQ(bitsLeft, 24);
    EXPECT_EQ(reservoir, 0u);
    EXPECT_EQ(tree.Nodes[kHufRoot].Weight, 257u);
}

TEST(HufDecodeStepTest, ContinuesACodeSplitOverTwoCalls) {
    HufTree tree = FreshTree();
    uint32_t reservoir = 2;
    uint8_t bitsLeft = 3;
    uint16_t walk = kHufRoot;
    EXPECT_FALSE(HufDecodeStep(reservoir, bitsLeft, walk, tree));
    EXPECT_EQ(walk, 242);
    EXPECT_EQ(bitsLeft, 0);
    EXPECT_EQ(tree.SymbolCount, 0u);

    reservoir = 16;
    bitsLeft = 5;
    EXPECT_TRUE(HufDecodeStep(reservoir, bitsLeft, walk, tree));
    EXPECT_EQ(walk, 65);
    EXPECT_EQ(bitsLeft, 0);
}

TEST(HufDecodeStepTest, NoBitsChangesNothing) {
    HufTree tree = FreshTree();
    const HufTree before = tree;
    uint32_t reservoir = 0x1234;
    uint8_t bitsLeft = 0;
    uint16_t walk = 77;
    EXPECT_FALSE(HufDecodeStep(reservoir, bitsLeft, walk, tree));
    EXPECT_EQ(reservoir, 0x1234u);
    EXPECT_EQ(walk, 77);
    EXPECT_EQ(FirstTreeDifference(before, tree), "");
    EXPECT_EQ(tree.SymbolCount, 0u);
}

TEST(CountersTest, AddBitsCarriesWholeBytes) {
    HufBitCount count{5, 40};
    AddBits(count, 11);
    EXPECT_EQ(count.BitOffset, 0);
    EXPECT_EQ(count.ByteCount, 42u);
    AddBits(count, 255);
    EXPECT_EQ(count.BitOffset, 7);
    EXPECT_EQ(count.ByteCount, 73u);

    uint64_t counter = 0xFFFFFFFFu;
    AddCount(counter, 1);
    EXPECT_EQ(counter, 0x100000000u);
    ClearCount(counter);
    EXPECT_EQ(counter, 0u);
}

}  // namespace

}  // namespace vormi
