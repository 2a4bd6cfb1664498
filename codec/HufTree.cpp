#include "codec/HufTree.h"

#include "codec/HufTreeInline.h"

namespace {

inline uint32_t HalvedWeight(uint32_t weight) { return weight / 2 + 1; }

}  // namespace

void ClearCount(uint64_t& counter) { counter = 0; }

void AddCount(uint64_t& counter, uint16_t amount) { counter += amount; }

void AddBits(HufBitCount& counter, uint8_t bits) {
    const uint32_t total = uint32_t{counter.BitOffset} + bits;
    counter.BitOffset = static_cast<uint8_t>(total % 8);
    counter.ByteCount += total / 8;
}

void HufInit(uint32_t limit, HufTree& tree) {
    tree.HalveLimit = limit >= kHufMinHalveLimit ? limit : kHufMinHalveLimit;
    for (int s = 0; s < 256; ++s) {
        tree.Nodes[s] = HufNode{1, static_cast<uint16_t>(kHufLeafLinkBase + s)};
        tree.LinkTable[kHufLeafLinkBase + s] = static_cast<uint16_t>(s);
    }
    for (int j = 256; j < kHufNodeCount; ++j) {
        const int pair = j - 256;
        tree.Nodes[j] =
            HufNode{tree.Nodes[2 * pair].Weight + tree.Nodes[2 * pair + 1].Weight, static_cast<uint16_t>(pair)};
        tree.LinkTable[pair] = static_cast<uint16_t>(j);
    }
    tree.LinkTable[255] = 0;
    ClearCount(tree.Halvings);
    ClearCount(tree.SymbolCount);
    ClearCount(tree.BitCount.ByteCount);
    tree.BitCount.BitOffset = 0;
}

void HufUpdate(uint8_t symbol, HufTree& tree) {
    huf_detail::PlainClimb plain;
    huf_detail::UpdateInline(symbol, tree, plain);
}

void HufHalve(HufTree& tree) {
    // A straight two-queue merge into the node array, writing each position and its link entry
    // once. Nodes 0 and 1 are always the two lightest leaves (nothing lies below them to be their
    // children), so taking the leaves from node 0 on puts them back at 0 and 1. Halving alone on
    // trees taken from text.txt at the limit 1280: 1300 ns for the in-place merge that moved the
    // internal queue through the node array, 1110 ns for this one.
    HufNode* nodes = tree.Nodes;
    constexpr uint32_t kNone = UINT32_MAX;  // above every weight: an empty queue never wins

    HufNode leaves[kHufLeafLinkBase + 1];
    int leafCount = 0;
    for (int i = 0; leafCount < kHufLeafLinkBase; ++i) {
        // Written always, kept only for a leaf: no branch on the mix of leaves and internal nodes.
        const HufNode node = nodes[i];
        leaves[leafCount] = HufNode{HalvedWeight(node.Weight), node.Link};
        leafCount += node.Link >= kHufLeafLinkBase;
    }
    leaves[kHufLeafLinkBase] = HufNode{kNone, 0};

    // Internal node k (the parent of positions 2k, 2k+1) joins its queue once both are placed;
    // the slot after the newest one holds kNone, so an empty queue never wins.
    uint32_t internalWeights[kHufRootPair + 2];
    internalWeights[0] = kNone;
    uint16_t* links = tree.LinkTable;
    int nextLeaf = 0;
    int head = 0;
    uint32_t leafWeight = leaves[0].Weight;
    // Each position takes the lighter queue head; on equal weights the leaf takes it.
    auto take = [&](uint32_t internalWeight, int q) {
        HufNode node;
        if (internalWeight < leafWeight) {
            node = HufNode{internalWeight, static_cast<uint16_t>(head++)};
        } else {
            node = leaves[nextLeaf];
            leafWeight = leaves[++nextLeaf].Weight;
        }
        nodes[q] = node;
        links[node.Link] = static_cast<uint16_t>(q);
        return node.Weight;
    };
    for (int p = 0; p < kHufRoot; p += 2) {
        const uint32_t first = take(internalWeights[head], p);
        const uint32_t second = take(internalWeights[head], p + 1);
        internalWeights[p / 2] = first + second;
        internalWeights[p / 2 + 1] = kNone;
    }
    // The root's link entry keeps 510 from HufInit.
    nodes[kHufRoot] = HufNode{internalWeights[kHufRootPair], kHufRootPair};
    AddCount(tree.Halvings, 1);
}

bool HufDecodeStep(uint32_t& reservoir, uint8_t& bitsLeft, uint16_t& walk, HufTree& tree) {
    if (bitsLeft == 0) return false;
    uint32_t bits = reservoir;
    uint32_t pair = walk == kHufRoot ? kHufRootPair : walk;
    for (int left = bitsLeft; left > 0; --left) {
        const uint16_t link = tree.Nodes[2 * pair + (bits & 1)].Link;
        bits >>= 1;
        if (link >= kHufLeafLinkBase) {
            walk = static_cast<uint16_t>(link - kHufLeafLinkBase);
            HufUpdate(static_cast<uint8_t>(walk), tree);
            reservoir = bits;
            bitsLeft = static_cast<uint8_t>(left - 1);
            return true;
        }
        pair = link;
    }
    walk = static_cast<uint16_t>(pair);
    bitsLeft = 0;
    return false;
}
