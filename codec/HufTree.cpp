#include "codec/HufTree.h"

#include "codec/HufTreeInline.h"

namespace {

inline uint32_t HalvedWeight(uint32_t weight) { return weight / 2 + 1; }

// Places a node at position q and points its LinkTable entry at it.
inline void PlaceNode(HufTree& tree, int q, HufNode node) {
    tree.Nodes[q] = node;
    tree.LinkTable[node.Link] = static_cast<uint16_t>(q);
}

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

void HufUpdate(uint8_t symbol, HufTree& tree) { huf_detail::UpdateInline(symbol, tree); }

void HufHalve(HufTree& tree) {
    HufNode* nodes = tree.Nodes;
    nodes[0].Weight = HalvedWeight(nodes[0].Weight);
    nodes[1].Weight = HalvedWeight(nodes[1].Weight);

    // The remaining leaves, lightest first; halving keeps their order.
    constexpr int kQueuedLeaves = 254;
    HufNode leaves[kQueuedLeaves];
    int leafCount = 0;
    for (int i = 2; leafCount < kQueuedLeaves; ++i) {
        // Written always, kept only for a leaf: no branch on the mix of leaves and internal nodes
        // (updates alone on text.txt at the limit 1280: 35.0 -> 35.5 MB/s). A merge without
        // branches measured slower than the plain one below (33.1 against 34.6).
        const HufNode node = nodes[i];
        leaves[leafCount] = HufNode{HalvedWeight(node.Weight), node.Link};
        leafCount += node.Link >= kHufLeafLinkBase;
    }

    // Two-queue merge in place: positions filled from 2 upward never pass the head of the internal queue.
    nodes[256] = HufNode{nodes[0].Weight + nodes[1].Weight, 0};
    int head = 256;
    int last = 256;
    int nextLeaf = 0;
    int p = 2;
    auto takeInternalFirst = [&]() { return head <= last && nodes[head].Weight < leaves[nextLeaf].Weight; };
    while (nextLeaf < kQueuedLeaves) {
        const int c = last + 1;
        for (int q = p; q <= p + 1; ++q) {
            const bool internal = nextLeaf == kQueuedLeaves || takeInternalFirst();
            if (internal) {
                PlaceNode(tree, q, nodes[head++]);
            } else {
                PlaceNode(tree, q, leaves[nextLeaf++]);
            }
        }
        nodes[c] = HufNode{nodes[p].Weight + nodes[p + 1].Weight, static_cast<uint16_t>(p / 2)};
        last = c;
        p += 2;
    }
    // Only internal nodes remain; they already sit at p..last in weight order.
    for (int c = last; c > p; ++c, p += 2) {
        tree.LinkTable[nodes[p].Link] = static_cast<uint16_t>(p);
        tree.LinkTable[nodes[p + 1].Link] = static_cast<uint16_t>(p + 1);
        nodes[c + 1] = HufNode{nodes[p].Weight + nodes[p + 1].Weight, static_cast<uint16_t>(p / 2)};
    }
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
