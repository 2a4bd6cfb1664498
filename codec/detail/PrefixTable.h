// The first steps of the walk down in one look-up, for the decoder's bulk loop. Private to the
// codec.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "vormi/codec/HufTypes.h"

namespace vormi::huf_detail {

// Where each kBits-bit start of a code leads: to a leaf at depth 1..kBits, or to the node at
// depth kBits from which the walk goes on bit by bit. Links and positions only, so increments
// leave it alone; an exchange rewrites the entries below the two positions, and a halving
// rebuilds it.
template <int kTableBits>
struct PrefixTableOf {
    static_assert(kTableBits >= 1 && kTableBits <= 8, "a prefix fits the code field of Prefix");
    static constexpr int kBits = kTableBits;
    static constexpr uint32_t kLeafFrom = 256;

    // Indexed by the next kBits stream bits (the first in bit 0). Below 256: the link of the node
    // at depth kBits. Otherwise a leaf: bits 0..8 its position, 16..23 its symbol, 24..27 its
    // depth.
    uint32_t Entry[1 << kBits];
    // Per entry: the positions from depth 1 down to its leaf (or its node at depth kBits), so the
    // update of a symbol found here need not climb the link table.
    uint16_t Path[1 << kBits][kBits];
    // Per position: depth << 8 | the code of the position when its depth is at most kBits, else
    // kDeep.
    uint16_t Prefix[kHufNodeCount];

    // Deeper than kBits, with no code: its depth field alone says so, which spares each exchange a
    // test.
    static constexpr uint16_t kDeep = (kBits + 1) << 8;
    static uint32_t Position(uint32_t leaf) { return leaf & 0x1FF; }
    static uint8_t Symbol(uint32_t leaf) { return static_cast<uint8_t>(leaf >> 16); }
    static uint32_t Depth(uint32_t leaf) { return leaf >> 24; }

    void Rebuild(const HufTree& tree) {
        std::fill(std::begin(Prefix), std::end(Prefix), kDeep);
        const int top = 2 * kHufRootPair;
        uint16_t above[kBits] = {};
        Place(tree, top, 0, 1, kBits + 1, above);
        Place(tree, top + 1, 1, 1, kBits + 1, above);
    }

    // After the contents of positions n and m were swapped: each position keeps its own code, but
    // the subtree now hanging below it came from the other one's depth.
    void Exchanged(const HufTree& tree, int n, int m) {
        const int dn = DepthOf(n);
        const int dm = DepthOf(m);
        if (dn > kBits && dm > kBits) return;
        Replant(tree, n, dn, dm);
        Replant(tree, m, dm, dn);
    }

private:
    int DepthOf(int x) const { return Prefix[x] >> 8; }

    // The subtree now at position x (at `depth`) came from `before`. The positions above x are
    // those on the path of any entry starting with x's code.
    void Replant(const HufTree& tree, int x, int depth, int before) {
        uint16_t above[kBits] = {};
        const uint32_t code = depth <= kBits ? Prefix[x] & 0xFFu : 0;
        if (depth <= kBits) std::memcpy(above, Path[code], sizeof above);
        Place(tree, x, code, depth, before, above);
    }

    // The subtree at position x, now at depth `depth` with the given code, earlier at `before`:
    // its nodes within the first kBits levels get their entries and codes, and those that have left
    // them lose their codes. Deeper than both, nothing is recorded.
    void Place(const HufTree& tree, int x, uint32_t code, int depth, int before, uint16_t* above) {
        const uint32_t link = tree.Nodes[x].Link;
        if (depth > kBits) {
            Prefix[x] = kDeep;
        } else {
            Prefix[x] = static_cast<uint16_t>(depth << 8 | code);
            above[depth - 1] = static_cast<uint16_t>(x);
            if (link >= kHufLeafLinkBase) {
                const uint32_t leaf =
                    static_cast<uint32_t>(depth) << 24 | (link - kHufLeafLinkBase) << 16 | static_cast<uint32_t>(x);
                for (uint32_t rest = 0; rest < (1u << (kBits - depth)); ++rest) {
                    Entry[code | rest << depth] = leaf;
                    std::memcpy(Path[code | rest << depth], above, sizeof Path[0]);
                }
            } else if (depth == kBits) {
                Entry[code] = link;
                std::memcpy(Path[code], above, sizeof Path[0]);
            }
        }
        if (link >= kHufLeafLinkBase || (depth >= kBits && before >= kBits)) return;
        const int child = static_cast<int>(2 * link);
        const uint32_t one = depth < kBits ? 1u << depth : 0;
        Place(tree, child, code, depth + 1, before + 1, above);
        Place(tree, child + 1, code | one, depth + 1, before + 1, above);
    }
};

// Eight levels for high halving limits, where exchanges are rare. Four where they are frequent:
// fewer exchanges reach that near the root, and each rewrites at most 16 entries. Nine or ten
// levels at 65536, and five or six at 1280, were slower on every file but random.bin (binary.bin
// took 11% longer to decode with nine).
using PrefixTable = PrefixTableOf<8>;
using ShortPrefixTable = PrefixTableOf<4>;

}  // namespace vormi::huf_detail
