// Inline form of the per-symbol tree update, shared by HufUpdate and the block coders' inner loops.
// Private to the codec.
#pragma once

#include <emmintrin.h>

#include <bit>
#include <cstdint>

#include "codec/ClimbAids.h"
#include "codec/HufTree.h"

namespace huf_detail {

// Index of the last node of the run of weight `runWeight` that starts at first (weight(first) ==
// runWeight). The root weighs more than any other node, so the run always ends below it.
//
// Four weights are compared per step with SSE2 (part of every x86-64): the runs passed average 9
// nodes per exchange on text and 23 on binary data at the halving limit 1280. Against a scan one
// node at a time (MB/s, CPU time, best of 5): text.txt encode 33.1 -> 34.7, decode 27.4 -> 28.8;
// binary.bin 26.7 -> 28.0 and 22.9 -> 24.3; random.bin 20.2 -> 21.7 and 16.6 -> 18.6. Eight per
// step measured no better.
inline uint32_t LastOfRun(const HufNode* nodes, uint32_t first, uint32_t runWeight) {
    static_assert(sizeof(HufNode) == 8 && alignof(HufNode) == 4, "two nodes per 16 bytes, weight first");
    const __m128i target = _mm_set1_epi32(static_cast<int>(runWeight));
    uint32_t k = first + 1;
    // Whole groups of four only while they end at or below the root.
    while (k + 3 <= kHufRoot) {
        const __m128 lo = _mm_castsi128_ps(_mm_loadu_si128(reinterpret_cast<const __m128i*>(nodes + k)));
        const __m128 hi = _mm_castsi128_ps(_mm_loadu_si128(reinterpret_cast<const __m128i*>(nodes + k + 2)));
        const __m128i weights = _mm_castps_si128(_mm_shuffle_ps(lo, hi, _MM_SHUFFLE(2, 0, 2, 0)));
        const int same = _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(weights, target)));
        if (same != 0xF) return k + std::countr_zero(static_cast<unsigned>(~same)) - 1;
        k += 4;
    }
    while (nodes[k].Weight == runWeight) ++k;
    return k - 1;
}

// Exchanges node n, just incremented to weight w, with the last node of its old weight class when
// it outgrew its right neighbour. Returns the node's position afterwards. After an exchange the old
// class ends one node earlier, which the guesses record. A node that stays was the last of its
// class too, but recording that cost more than the stale guesses it spares. Whole-process
// instructions per byte at the halving limit 1280, the first megabyte of each file, pack / unpack,
// with and without: text.txt 220 / 209 and 191 / 188, binary.bin 234 / 224 and 204 / 202,
// random.bin 344 / 322 and 293 / 279. beforeExchange(m) runs once the partner m is known and
// before anything is moved.
template <typename Aids, typename BeforeExchange>
[[gnu::always_inline]] inline uint32_t RestoreOrder(HufTree& tree, uint32_t n, uint32_t w, Aids& aids,
                                                    BeforeExchange&& beforeExchange) {
    HufNode* nodes = tree.Nodes;
    const uint32_t old = w - 1;
    if (w <= nodes[n + 1].Weight) return n;
    // Positions n+1 on hold the old weight up to the run's end; a guess past n is that end when
    // its node weighs `old` and the next one more (recorded positions stay below the root).
    const uint32_t guess = aids.Guess(old);
    const bool hit = guess > n && nodes[guess].Weight == old && nodes[guess + 1].Weight != old;
    const uint32_t m = hit ? guess : LastOfRun(nodes, n + 1, old);
    aids.Record(old, m - 1);
    beforeExchange(m);
    const HufNode up = nodes[n];
    const HufNode down = nodes[m];
    nodes[n] = down;
    nodes[m] = up;
    tree.LinkTable[down.Link] = static_cast<uint16_t>(n);
    tree.LinkTable[up.Link] = static_cast<uint16_t>(m);
    aids.Exchanged(tree, n, m);
    return m;
}

template <typename Aids>
[[gnu::always_inline]] inline uint32_t RestoreOrder(HufTree& tree, uint32_t n, uint32_t w, Aids& aids) {
    return RestoreOrder(tree, n, w, aids, [](uint32_t) {});
}

// Increments the path from node n (below the root) up to the root's children. Positions are
// unsigned throughout: each step up is a dependent load, and a signed position costs a sign
// extension on that chain at every level (text.txt decode at the limit 1280, MiB/s: 29.9 -> 33.9).
template <typename Aids>
inline void IncrementPath(HufTree& tree, uint32_t n, Aids& aids) {
    do {
        n = RestoreOrder(tree, n, ++tree.Nodes[n].Weight, aids);
        n = aids.ParentOf(tree, n);
    } while (n != kHufRoot);
}

template <typename Aids>
inline void UpdateInline(uint8_t symbol, HufTree& tree, Aids& aids) {
    if (tree.Nodes[kHufRoot].Weight >= tree.HalveLimit) {
        HufHalve(tree);
        aids.Halved(tree);
    }
    ++tree.Nodes[kHufRoot].Weight;
    IncrementPath(tree, tree.LinkTable[kHufLeafLinkBase + symbol], aids);
    ++tree.SymbolCount;
}

// UpdateInline for the leaf the decoder has just reached at position leaf: the walk down found
// it, so the link table is read for it only when a halving moves it. One dependent load less per
// symbol: text.txt decode at the limit 1280 29.4 -> 30.4 MB/s (medians of 3, two rounds).
template <typename Aids>
inline void UpdateFromLeaf(uint32_t leaf, HufTree& tree, Aids& aids) {
    if (tree.Nodes[kHufRoot].Weight >= tree.HalveLimit) {
        const uint16_t link = tree.Nodes[leaf].Link;
        HufHalve(tree);
        aids.Halved(tree);
        leaf = tree.LinkTable[link];
    }
    ++tree.Nodes[kHufRoot].Weight;
    IncrementPath(tree, leaf, aids);
    ++tree.SymbolCount;
}

// The symbol's code in stream order (root bit in bit 0) and its length. A tree with the sibling
// property and a root below 2^32 has no leaf deeper than 45 (its weights would outgrow the
// Fibonacci numbers), so a code always fits in 64 bits with room for 7 more.
inline uint32_t ReadCode(const HufTree& tree, uint8_t symbol, uint64_t& code) {
    const uint16_t* links = tree.LinkTable;
    uint64_t bits = 0;
    uint32_t length = 0;
    uint32_t n = links[kHufLeafLinkBase + symbol];
    do {
        bits = bits << 1 | static_cast<uint64_t>(n & 1);
        n = links[n >> 1];
        ++length;
    } while (n != kHufRoot);
    code = bits;
    return length;
}

// ReadCode followed by UpdateInline, in one walk where the two paths coincide: up to the first
// exchange the update climbs the code's own path. Saves the encoder a second walk per symbol:
// text.txt encode at the halving limit 1280 went from 29 to 33 MB/s (forced inline: 33.5 -> 33.8).
//
// After the first exchange the rest of the code is the path from the old position's parent
// (which that exchange leaves alone), while the update goes on from the new position's parent.
// The two climbs go in step, one level of each per round, so their chains of loads overlap; the
// code's climb stays at the root once there (the aids make the root its own parent) rather than
// branch. Reading the whole rest of the code first had cost a second dependent climb and its loop
// exit: encode in MiB/s, one call over the whole file, best of 7, text.txt 39.5 -> 41.2,
// source.txt 40.8 -> 42.2, binary.bin 38.5 -> 39.6 at the limit 1280.
//
// An exchange rewrites the parent entries of the children of the two nodes it swaps: were either
// of them an ancestor of the code's next position, the path still to be read would change. An
// ancestor lies above the position, and the climbing node lies below its partner, so only an
// exchange whose partner lies above the code's next position can do that; such an exchange first
// waits for the rest of the code to be read. On skewed data that wait comes a few dozen times in
// a million symbols (never on the sample files), and it has not yet been for an actual ancestor.
template <typename Aids>
[[gnu::always_inline]] inline uint32_t CodeAndUpdate(uint8_t symbol, HufTree& tree, uint64_t& code, Aids& aids) {
    static_assert(Aids::kRootIsOwnParent, "the code's climb stays at the root without a branch");
    if (tree.Nodes[kHufRoot].Weight >= tree.HalveLimit) {
        const uint32_t length = ReadCode(tree, symbol, code);
        UpdateInline(symbol, tree, aids);
        return length;
    }
    const uint16_t* links = tree.LinkTable;
    ++tree.Nodes[kHufRoot].Weight;
    ++tree.SymbolCount;
    uint64_t bits = 0;
    uint32_t length = 0;
    uint32_t n = links[kHufLeafLinkBase + symbol];
    do {
        bits = bits << 1 | static_cast<uint64_t>(n & 1);
        ++length;
        const uint32_t parent = aids.ParentOf(tree, n);
        const uint32_t moved = RestoreOrder(tree, n, ++tree.Nodes[n].Weight, aids);
        if (moved != n) {
            uint32_t next = parent;  // the code's next position
            auto readRest = [&] {
                for (; next != kHufRoot; next = aids.ParentOf(tree, next)) {
                    bits = bits << 1 | static_cast<uint64_t>(next & 1);
                    ++length;
                }
            };
            for (uint32_t u = aids.ParentOf(tree, moved); u != kHufRoot;) {
                const uint32_t more = next != kHufRoot;
                bits = bits << more | static_cast<uint64_t>(next & more);
                length += more;
                next = aids.ParentOf(tree, next);
                const uint32_t at = RestoreOrder(tree, u, ++tree.Nodes[u].Weight, aids, [&](uint32_t partner) {
                    if (partner > next) readRest();
                });
                u = aids.ParentOf(tree, at);
            }
            readRest();
            break;
        }
        n = parent;
    } while (n != kHufRoot);
    code = bits;
    return length;
}

}  // namespace huf_detail
