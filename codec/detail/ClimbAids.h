// What the tree update's climb may lean on besides the tree: where runs of equal weight end, and
// the parent of each position. HufUpdate, one symbol at a time, reads the tree alone; the block
// coders' loops keep tables for the length of a call. Private to the codec.
//
// An aids type offers GuessEnd and RecordEnd (run ends), ParentOf(position), and Exchanged (after the
// contents of two positions were swapped) and Halved (after a rebuild), to keep what it holds in step.
#pragma once

#include <cstdint>

#include "vormi/codec/HufTypes.h"

namespace vormi::huf_detail {

// Where the run of each weight ended when it was last changed. A guess is checked before it is
// used, so a stale or colliding slot only costs the search: the table needs no upkeep when the
// tree halves and is indexed by the weight's low bits whatever the halving limit. Against
// searching every time, binary.bin's tree update and code read ran 26% faster at the limit 1280.
struct RunEndGuesses {
    static constexpr uint32_t kSlots = 2048;
    uint16_t Slot[kSlots] = {};

    // The position just after the run's last node, so that the one climbing out of it needs no
    // test (it may be node 0): 0 means no guess.
    uint32_t GuessEnd(uint32_t weight) const { return Slot[weight % kSlots]; }
    void RecordEnd(uint32_t weight, uint32_t after) { Slot[weight % kSlots] = static_cast<uint16_t>(after); }
};

// Every partner searched.
struct NoGuesses {
    static uint32_t GuessEnd(uint32_t) { return 0; }
    static void RecordEnd(uint32_t, uint32_t) {}
};

// The block coders keep guesses up to this halving limit. Above it, exchanges are rarer and their
// runs shorter, and keeping the table up to date costs more than it saves: at 65536 text.txt
// encoded 13% slower with them.
inline constexpr uint32_t kGuessingLimit = 4096;

// For HufUpdate: nothing to build or keep, the parent read from the link table.
struct PlainClimb : NoGuesses {
    const HufTree& Tree;

    uint32_t ParentOf(uint32_t position) const { return Tree.LinkTable[position >> 1]; }
    static void Exchanged(const HufTree&, uint32_t, uint32_t) {}
    static void Halved(const HufTree&) {}
};

// The parent of every position, read by the position itself. Each step of the climb is a load
// that depends on the one before; through the link table it also waits for a shift (random.bin
// encoded 10% faster this way at the limit 1280).
struct ParentPositions {
    // Entries 2k and 2k+1 hold the position of the node whose link is k. A leaf's link (256 + s)
    // indexes the upper half, which is never read: the writes for it need no branch. The root's
    // entry (that of link 255, which no node has) holds the root itself, so the encoder's climb
    // along the code stays at the root without a branch.
    uint16_t Of[2 * 512];

    void Build(const HufTree& tree) {
        for (uint32_t k = 0; k <= kHufRootPair; ++k) Of[2 * k] = Of[2 * k + 1] = tree.LinkTable[k];
        Of[kHufRoot] = kHufRoot;
    }
    void Exchanged(const HufTree& tree, uint32_t n, uint32_t m) {
        Moved(tree.Nodes[n].Link, n);
        Moved(tree.Nodes[m].Link, m);
    }

private:
    void Moved(uint32_t link, uint32_t position) { Of[2 * link] = Of[2 * link + 1] = static_cast<uint16_t>(position); }
};

// For the block coders: the parents by position, with or without run-end guesses.
template <typename Guesses>
struct BlockClimb : Guesses {
    ParentPositions Parents;

    explicit BlockClimb(const HufTree& tree) { Parents.Build(tree); }
    uint32_t ParentOf(uint32_t position) const { return Parents.Of[position]; }
    void Exchanged(const HufTree& tree, uint32_t n, uint32_t m) { Parents.Exchanged(tree, n, m); }
    void Halved(const HufTree& tree) { Parents.Build(tree); }
};

// Runs code(aids) with the block coders' aids that suit the tree's halving limit.
template <typename Code>
[[gnu::always_inline]] inline void WithClimbAids(const HufTree& tree, Code&& code) {
    if (tree.HalveLimit <= kGuessingLimit) {
        BlockClimb<RunEndGuesses> aids(tree);
        code(aids);
    } else {
        BlockClimb<NoGuesses> aids(tree);
        code(aids);
    }
}

}  // namespace vormi::huf_detail
