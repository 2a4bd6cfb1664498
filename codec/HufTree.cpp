#include "vormi/codec/HufTree.h"

#include <algorithm>

#include "detail/HufTreeInline.h"

namespace vormi {

namespace {

inline uint32_t HalvedWeight(uint32_t weight) { return weight / 2 + 1; }

// Leaves of weight 1 (symbols not seen since the start) fill the first positions of every tree,
// as nothing else weighs 1. The weights never decrease from node 0 on, so a binary search finds
// the first heavier node.
uint32_t LeavesOfWeightOne(const HufNode* nodes) {
    uint32_t low = 0;
    uint32_t high = kHufRoot;  // the root weighs more
    while (low < high) {
        const uint32_t middle = (low + high) / 2;
        if (nodes[middle].Weight == 1) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low;
}

}  // namespace

void ClearCount(uint64_t& counter) { counter = 0; }

void AddCount(uint64_t& counter, uint16_t amount) { counter += amount; }

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
    huf_detail::PlainClimb plain{{}, tree};
    huf_detail::NoHooks hooks;
    huf_detail::UpdateTree(tree.LinkTable[kHufLeafLinkBase + symbol], tree, hooks, plain);
}

void HufHalve(HufTree& tree) {
    // A two-queue merge: the leaves in their old order (already sorted by weight) against the
    // internal nodes in the order they are made. Internal node k is the parent of positions 2k
    // and 2k+1; it joins its queue once both are placed, and until then its slot holds kNone, so
    // an empty queue never wins. Each position and its link entry are written once.
    //
    // The leaves are read from the old nodes as the merge goes, skipping the internal ones, in
    // place: no leaf ever moves up. A leaf's new position is its rank among the leaves plus the
    // new internal nodes lighter than it once halved; its old one, that rank plus at least the old
    // internal nodes lighter than it. Both counts are the merges of a Huffman construction (any
    // tree with the sibling property is one) that stay below the leaf's weight, over the lighter
    // leaves. Doubled, the halved weights are each at least the old weight plus 1 and the halved
    // limit at most the old one plus 2; every merge then comes out at least 2 heavier than the
    // old construction's merge of the same rank, so no more of them stay below the limit. The
    // write position thus never passes a leaf that is still to be read.
    //
    // The leading leaves of weight 1 halve to 1 and keep their positions, in whole sibling pairs
    // whose parents weigh 2; the merge starts after them.
    constexpr uint32_t kNone = UINT32_MAX;  // above every weight
    HufNode* const nodes = tree.Nodes;
    uint16_t* const links = tree.LinkTable;
    const uint32_t kept = LeavesOfWeightOne(nodes) & ~1u;

    // The root's place stops the search past the last leaf until the root is written last. It is
    // never taken: halved, it weighs 2^31, while a node below the root weighs at most two thirds
    // of the halved total (at most 2^31 + 256).
    nodes[kHufRoot] = HufNode{kNone, kHufNodeCount};
    const HufNode* leaf = nodes + kept;
    while (leaf->Link < kHufLeafLinkBase) ++leaf;
    uint32_t leafWeight = HalvedWeight(leaf->Weight);

    uint32_t internalWeights[kHufRootPair + 1];
    std::fill_n(internalWeights, kept / 2, 2u);
    std::fill(internalWeights + kept / 2, internalWeights + kHufRootPair + 1, kNone);
    uint32_t* made = internalWeights + kept / 2;
    size_t head = 0;
    uint32_t internalWeight = internalWeights[0];

    // Each position takes the lighter queue head, the leaf on equal weights. Written out for the
    // two positions of a sibling pair, each way storing on its own: the queue heads then stay in
    // registers (through shared helpers they did not, and a halving took 5 to 15% more instructions).
    uint32_t odd = kept + 1;
    for (size_t q = kept; q < kHufRoot; q += 2, odd += 2) {
        HufNode* const out = nodes + q;
        uint32_t pairWeight;
        if (internalWeight < leafWeight) {
            out[0].Weight = internalWeight;
            out[0].Link = static_cast<uint16_t>(head);
            links[head] = static_cast<uint16_t>(q);
            pairWeight = internalWeight;
            internalWeight = internalWeights[++head];
        } else {
            const uint32_t link = leaf->Link;
            out[0].Weight = leafWeight;
            out[0].Link = static_cast<uint16_t>(link);
            links[link] = static_cast<uint16_t>(q);
            pairWeight = leafWeight;
            do ++leaf;
            while (leaf->Link < kHufLeafLinkBase);
            leafWeight = HalvedWeight(leaf->Weight);
        }
        if (internalWeight < leafWeight) {
            out[1].Weight = internalWeight;
            out[1].Link = static_cast<uint16_t>(head);
            links[head] = static_cast<uint16_t>(odd);
            pairWeight += internalWeight;
            internalWeight = internalWeights[++head];
        } else {
            const uint32_t link = leaf->Link;
            out[1].Weight = leafWeight;
            out[1].Link = static_cast<uint16_t>(link);
            links[link] = static_cast<uint16_t>(odd);
            pairWeight += leafWeight;
            do ++leaf;
            while (leaf->Link < kHufLeafLinkBase);
            leafWeight = HalvedWeight(leaf->Weight);
        }
        *made++ = pairWeight;
        internalWeight = internalWeights[head];
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

}  // namespace vormi
