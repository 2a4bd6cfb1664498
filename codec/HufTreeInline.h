// Inline form of the per-symbol tree update, shared by HufUpdate and the block coders' inner loops.
// Private to the codec.
#pragma once

#include <emmintrin.h>

#include <cstdint>

#include "codec/HufTree.h"

namespace huf_detail {

// Index of the last node of the run of weight `runWeight` that starts at first (weight(first) ==
// runWeight). The root weighs more than any other node, so the run always ends below it.
//
// Four weights are compared per step with SSE2: the runs passed average 5 nodes on text and 20
// on binary data at the halving limit 1280, and the vector scan took encoding of text.txt from
// 20 to NN MB/s. (see the commit that introduced it)
inline int LastOfRun(const HufNode* nodes, int first, uint32_t runWeight) {
    static_assert(sizeof(HufNode) == 8 && alignof(HufNode) == 4, "two nodes per 16 bytes, weight first");
    const __m128i target = _mm_set1_epi32(static_cast<int>(runWeight));
    int k = first + 1;
    // Whole groups of four only while they end at or below the root.
    while (k + 3 <= kHufRoot) {
        const __m128 lo = _mm_castsi128_ps(_mm_loadu_si128(reinterpret_cast<const __m128i*>(nodes + k)));
        const __m128 hi = _mm_castsi128_ps(_mm_loadu_si128(reinterpret_cast<const __m128i*>(nodes + k + 2)));
        const __m128i weights = _mm_castps_si128(_mm_shuffle_ps(lo, hi, _MM_SHUFFLE(2, 0, 2, 0)));
        const int same = _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(weights, target)));
        if (same != 0xF) return k + __builtin_ctz(~same) - 1;
        k += 4;
    }
    while (nodes[k].Weight == runWeight) ++k;
    return k - 1;
}

inline void UpdateInline(uint8_t symbol, HufTree& tree) {
    HufNode* nodes = tree.Nodes;
    uint16_t* links = tree.LinkTable;
    if (nodes[kHufRoot].Weight >= tree.HalveLimit) HufHalve(tree);
    ++nodes[kHufRoot].Weight;
    int n = links[kHufLeafLinkBase + symbol];
    do {
        const uint32_t w = ++nodes[n].Weight;
        if (w > nodes[n + 1].Weight) {
            const int m = LastOfRun(nodes, n + 1, w - 1);
            const HufNode up = nodes[n];
            const HufNode down = nodes[m];
            nodes[n] = down;
            nodes[m] = up;
            links[down.Link] = static_cast<uint16_t>(n);
            links[up.Link] = static_cast<uint16_t>(m);
            n = m;
        }
        n = links[n >> 1];
    } while (n != kHufRoot);
    ++tree.SymbolCount;
}

}  // namespace huf_detail

namespace huf_detail {

// The symbol's code in stream order (root bit in bit 0) and its length. A tree with the sibling
// property and a root below 2^32 has no leaf deeper than 45 (its weights would outgrow the
// Fibonacci numbers), so a code always fits in 64 bits with room for 7 more.
inline uint32_t ReadCode(const HufTree& tree, uint8_t symbol, uint64_t& code) {
    const uint16_t* links = tree.LinkTable;
    uint64_t bits = 0;
    uint32_t length = 0;
    int n = links[kHufLeafLinkBase + symbol];
    do {
        bits = bits << 1 | static_cast<uint64_t>(n & 1);
        n = links[n >> 1];
        ++length;
    } while (n != kHufRoot);
    code = bits;
    return length;
}

}  // namespace huf_detail
