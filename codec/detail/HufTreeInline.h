// Inline form of the per-symbol tree update, shared by HufUpdate and the block coders' inner loops,
// which add to it through hooks. Private to the codec.
//
// Map of the hot path:
//   ZkCodec::Encode -> CodeSymbols: CodeInPlace writes straight into the output while 34 bytes of
//     room are left, then a window loop (AppendCode, FlushWindow) codes the last 33 or fewer; both
//     -> CodeAndUpdate (ZkEncoder.cpp): UpdateWithoutHalving with hooks CodeReading, which read
//     the code on the update's own climb (ClimbFrom's loop up to the first exchange, then
//     ClimbOffPath with the code's climb in step), so the encoder climbs once per symbol; a symbol
//     that halves is read by ReadCode first, then updated by UpdateTree with NoHooks.
//   ZkCodec::Decode -> DecodeWithPolicy: a call of 256 symbols or fewer, or of 64 source bytes or
//     fewer, goes without windows or tables; otherwise windows of 2048 symbols, each with the
//     8-level prefix table (limits from 32768, when the window before used 3 bits a symbol or
//     more and exchanged on at most half its symbols; never the first), the 4-level one (below
//     32768, at 3 bits a symbol or more, from the first window on) or none. -> DecodeSymbols (the
//     word rule): carried bits first, then words of 4 bytes, the last 4 bytes or 24 symbols byte
//     by byte. In a window with a table, at a symbol boundary with 16 bytes left, DecodeBulk: a
//     table look-up, the bit walk, UpdateTree with hooks KnownPath (a table path without ties is
//     incremented as it stands, with no climb). When it stops mid-word (pause, slack, 24 symbols
//     left), the rest of that word goes bit by bit, so the next load is at the word boundary the
//     plain reading has. DecodeWhileRoom, the bit walk with UpdateTree and NoHooks, takes those
//     word rests, carried bits, the byte path and every symbol of a window without a table (all
//     of zeros.bin; random.bin at 65536, which exchanges on most symbols; the first window from
//     32768).
//   Both block coders take their aids from WithClimbAids (ClimbAids.h): parents by position, so
//     each step up is one load, and run-end guesses up to the limit 4096.
//   HufUpdate -> UpdateTree, NoHooks, aids PlainClimb (the link table alone). HufDecodeStep (->
//     HufUpdate) is the walk as the data model states it, for the tests: the decoder inlines its own.
//
//   UpdateTree: a halving first at the limit (HufHalve; aids.Halved rebuilds what the aids keep)
//     -> UpdateWithoutHalving: the hooks' PathWithoutTies, else ClimbFrom (its own loop on a path
//     the hooks follow; otherwise ClimbOffPath, StepUp per level). Every level is one ClimbStep:
//     the increment, then RestoreOrder, whose tie test StaysInOrder the decoder's known path uses
//     too; on an exchange the partner is the guess (aids.GuessEnd) or LastOfRun (RunSearch.h: SSE2
//     or plain), and aids.Exchanged keeps parents and tables in step.
//
// Between calls only the tree and the codec's carried fields survive: parents, guesses and prefix
// tables live on the call's stack, built afresh by each call.
//
// The hooks stay: the same steps written as two explicit paths beside a plain update cost the loops
// their registers (zeros.bin unpack, 18% more instructions at the limit 65536). The inner loops are
// that sensitive to the compiler's register allocation that forms which should compile alike do
// not; keep every change to this file to its instruction counts (make count-instructions).
#pragma once

#include <cstdint>

#include "detail/ClimbAids.h"
#include "detail/RunSearch.h"
#include "vormi/codec/HufTree.h"

namespace vormi::huf_detail {

// The tie test: node n, just incremented to weight w, is still in order, as it did not tie with its
// right neighbour before (otherwise it outgrew it and must move up). Not always_inline: so marked,
// it cost the decoder's bit walk 8% more instructions on zeros.bin at the limit 65536.
inline bool StaysInOrder(const HufNode* nodes, uint32_t n, uint32_t w) { return w <= nodes[n + 1].Weight; }

// Exchanges node n, just incremented to weight w, with the last node of its old weight class when
// it outgrew its right neighbour. Returns the node's position afterwards. Either way the old class
// has lost its last node and now ends just before the position the guesses record. beforeExchange(m)
// runs once the partner m is known and before anything is moved.
template <typename Aids, typename BeforeExchange>
[[gnu::always_inline]] inline uint32_t RestoreOrder(HufTree& tree, uint32_t n, uint32_t w, Aids& aids,
                                                    BeforeExchange&& beforeExchange) {
    HufNode* nodes = tree.Nodes;
    const uint32_t old = w - 1;
    if (StaysInOrder(nodes, n, w)) [[likely]] {
        aids.RecordEnd(old, n);
        return n;
    }
    // Positions n+1 on hold the old weight up to the run's end; a guess past n+1 is the position
    // after that end when the node before it weighs `old` and it does not (recorded positions stay
    // below the root).
    const uint32_t after = aids.GuessEnd(old);
    const bool hit = after > n + 1 && nodes[after - 1].Weight == old && nodes[after].Weight != old;
    const uint32_t m = hit ? after - 1 : LastOfRun(nodes, n + 1, old);
    aids.RecordEnd(old, m);
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

// One step of the climb at node n: its increment, then RestoreOrder. Returns where the node ended
// up.
template <typename Aids, typename BeforeExchange>
[[gnu::always_inline]] inline uint32_t ClimbStep(HufTree& tree, uint32_t n, Aids& aids,
                                                 BeforeExchange&& beforeExchange) {
    return RestoreOrder(tree, n, ++tree.Nodes[n].Weight, aids, beforeExchange);
}

template <typename Aids>
[[gnu::always_inline]] inline uint32_t ClimbStep(HufTree& tree, uint32_t n, Aids& aids) {
    return ClimbStep(tree, n, aids, [](uint32_t) {});
}

// What a caller may add to the update rule (UpdateTree, below) without writing the rule again. Each
// hook runs at a fixed point of the rule; these defaults do nothing, so HufUpdate and the decoder's
// bit walk use the rule as it stands. The encoder reads the symbol's code on the climb (ZkEncoder),
// the decoder's bulk loop skips the climb for a path it knows to be free of ties (ZkDecoder).
struct NoHooks {
    // Whether OnPath and LeftPath are wanted.
    static constexpr bool kFollowsPath = false;
    // Whether the hooks still hold after a halving has rebuilt the tree.
    static constexpr bool kHoldAfterHalving = true;
    // May claim the whole climb: true when the caller knows that no node on the leaf's path ties
    // with its right neighbour, so that no exchange can happen. The positions on the path below
    // the root that still want their increment, in any order, and their count go to `path` and
    // `depth` (the decoder's hook increments them itself and hands back none). Without the two
    // out-parameters and their loop, zeros.bin packs with 3.6% more instructions at 65536.
    static bool PathWithoutTies(const HufTree&, const uint16_t*& /*path*/, uint32_t& /*depth*/) { return false; }
    // At each level of the leaf's own path, before its increment, up to the first exchange.
    void OnPath(uint32_t /*position*/) {}
    // After the first exchange; `parent` is the parent of the position the climb left.
    void LeftPath(uint32_t /*parent*/) {}
    // At each level after that (every level when the path is not followed), before its increment,
    // and before each exchange there; then once the climb after LeftPath has reached the root.
    template <typename Aids>
    void OffPath(const HufTree&, const Aids&) {}
    template <typename Aids>
    void BeforeExchangeOffPath(uint32_t /*partner*/, const HufTree&, const Aids&) {}
    template <typename Aids>
    void ReachedRoot(const HufTree&, const Aids&) {}
};

// One level of the update rule's climb (see UpdateTree) off the leaf's own path: the node at n is
// incremented and put back in order, and the climb goes on from the parent of wherever it ended
// up. Positions are unsigned throughout: each step up is a dependent load, and a signed position
// costs a sign extension on that chain at every level (text.txt decoded 13% faster at 1280).
template <typename Hooks, typename Aids>
[[gnu::always_inline]] inline uint32_t StepUp(uint32_t n, HufTree& tree, Hooks& hooks, Aids& aids) {
    hooks.OffPath(tree, aids);
    return aids.ParentOf(
        ClimbStep(tree, n, aids, [&](uint32_t partner) { hooks.BeforeExchangeOffPath(partner, tree, aids); }));
}

// The climb from position n up to the root. Started below the root it tests for the root only
// after each step, which spares a test per symbol; after the encoder's first exchange it may start
// at the root, so it tests first.
template <bool kMayStartAtRoot, typename Hooks, typename Aids>
[[gnu::always_inline]] inline void ClimbOffPath(uint32_t n, HufTree& tree, Hooks& hooks, Aids& aids) {
    if constexpr (kMayStartAtRoot) {
        while (n != kHufRoot) n = StepUp(n, tree, hooks, aids);
    } else {
        do n = StepUp(n, tree, hooks, aids);
        while (n != kHufRoot);
    }
}

// The same climb. For hooks that follow the leaf's own path (the encoder reading its code), the
// levels up to the first exchange come first, in a loop of their own, so that the code reading
// needs no test of its own.
template <typename Hooks, typename Aids>
[[gnu::always_inline]] inline void ClimbFrom(uint32_t n, HufTree& tree, Hooks& hooks, Aids& aids) {
    if constexpr (Hooks::kFollowsPath) {
        do {
            hooks.OnPath(n);
            const uint32_t parent = aids.ParentOf(n);
            const uint32_t at = ClimbStep(tree, n, aids);
            if (at != n) {
                hooks.LeftPath(parent);
                ClimbOffPath<true>(aids.ParentOf(at), tree, hooks, aids);
                hooks.ReachedRoot(tree, aids);
                return;
            }
            n = parent;
        } while (n != kHufRoot);
    } else {
        ClimbOffPath<false>(n, tree, hooks, aids);
    }
}

// Whether the next update starts with a halving: the root has reached the limit (the root weight
// before the update's own increment decides).
inline bool HalvesFirst(const HufTree& tree) { return tree.Nodes[kHufRoot].Weight >= tree.HalveLimit; }

// The update rule without its halving (see UpdateTree), for an update that does not start with one.
template <typename Hooks, typename Aids>
[[gnu::always_inline]] inline void UpdateWithoutHalving(uint32_t leaf, HufTree& tree, Hooks& hooks, Aids& aids) {
    HufNode* const nodes = tree.Nodes;
    ++nodes[kHufRoot].Weight;
    ++tree.SymbolCount;
    const uint16_t* path;
    uint32_t depth;
    if (hooks.PathWithoutTies(tree, path, depth)) {
        for (uint32_t level = 0; level < depth; ++level) ++nodes[path[level]].Weight;
        return;
    }
    ClimbFrom(leaf, tree, hooks, aids);
}

// The update rule, the one place it is written: halve first when the root has reached the limit,
// count the symbol, then increment every node from the symbol's leaf (at position `leaf`) up to the
// root, exchanging each one that outgrew its right neighbour with the last node of its old weight
// class. After a halving only hooks that hold for any tree are used (the others know the tree as
// it was); for them the climb is written out once.
template <typename Hooks, typename Aids>
[[gnu::always_inline]] inline void UpdateTree(uint32_t leaf, HufTree& tree, Hooks& hooks, Aids& aids) {
    if (HalvesFirst(tree)) {
        const uint16_t link = tree.Nodes[leaf].Link;
        HufHalve(tree);
        aids.Halved(tree);
        leaf = tree.LinkTable[link];
        if constexpr (!Hooks::kHoldAfterHalving) {
            NoHooks plain;
            UpdateWithoutHalving(leaf, tree, plain, aids);
            return;
        }
    }
    UpdateWithoutHalving(leaf, tree, hooks, aids);
}

// The code of the leaf at position `leaf` in stream order (root bit in bit 0) and its length. A
// tree with the sibling property and a root below 2^32 has no leaf deeper than 45 (its weights
// would outgrow the Fibonacci numbers), so a code always fits in 64 bits with room for 7 more.
inline uint32_t ReadCode(const HufTree& tree, uint32_t leaf, uint64_t& code) {
    const uint16_t* links = tree.LinkTable;
    uint64_t bits = 0;
    uint32_t length = 0;
    uint32_t n = leaf;
    do {
        bits = bits << 1 | static_cast<uint64_t>(n & 1);
        n = links[n >> 1];
        ++length;
    } while (n != kHufRoot);
    code = bits;
    return length;
}

}  // namespace vormi::huf_detail
