// The records of the adaptive Huffman model: 511 nodes in sibling order,
// the inverse link table and the coding counters. Field order and widths are
// part of the design; the code relies on them being plain data.
#pragma once

#include <cstdint>

namespace vormi {

// One node. Link 0..254: internal node whose children are nodes 2*Link and
// 2*Link+1. Link 256..511: leaf of symbol Link-256. 255 never occurs.
struct HufNode {
    uint32_t Weight;
    uint16_t Link;
};

// Total code length written by the encoder: 8*ByteCount + BitOffset bits.
struct HufBitCount {
    uint8_t BitOffset;  // 0..7
    uint64_t ByteCount;
};

inline constexpr int kHufNodeCount = 511;
inline constexpr int kHufRoot = 510;  // the root's index; its link is always 254
inline constexpr int kHufRootPair = 254;
inline constexpr int kHufLeafLinkBase = 256;  // leaf links are 256 + symbol
inline constexpr uint32_t kHufMinHalveLimit = 1280;

// The model's invariants, true after HufInit and after every update and halving; the update, the
// halving, both block coders and their climb aids rely on them, and the codec tests check them
// after every symbol and against a literal model.
//  1. Sibling order: weights never decrease from node 0 to the root, node 510.
//  2. Every internal node weighs the sum of its two children; the root, the sum of all 256 leaves.
//  3. Every weight is at least 1: a parent weighs more than either child and lies above both, and
//     nodes 0 and 1 are leaves, the two lightest.
//  4. The link table is the exact inverse of the links: LinkTable[Nodes[i].Link] == i for every
//     node; the root's link is 254 and its entry 510.
//  5. Between updates the root never weighs more than HalveLimit, so no weight or sum overflows.
// The position of a non-root node's parent is LinkTable[position >> 1], and the position's lowest
// bit is the code bit that leads to it.
struct HufTree {
    HufNode Nodes[kHufNodeCount];
    // Entry k (0..254): the node whose link is k (parent of pair 2k, 2k+1).
    // Entry 256+s: the leaf of symbol s. Entry 255 is unused.
    uint16_t LinkTable[512];
    uint32_t HalveLimit;  // root weight at which the next update halves first
    uint64_t Halvings;
    uint64_t SymbolCount;
    HufBitCount BitCount;
};

}  // namespace vormi
