#include <algorithm>

#include "detail/HufTreeInline.h"
#include "detail/PrefixTable.h"
#include "vormi/codec/ByteOrder.h"
#include "vormi/codec/HufTree.h"
#include "vormi/codec/ZkCodec.h"

namespace vormi {

namespace {

// A word is loaded only while more than this many symbols are wanted: each needs at least one
// more bit, so all four bytes of the word then hold bits of wanted symbols.
constexpr uint32_t kWordLoadMinWanted = 24;
constexpr uint32_t kWordBytes = 4;

struct DecodeState {
    uint32_t Reservoir;
    uint8_t BitsLeft;
    uint16_t Walk;
};

// Decodes symbols from the reservoir until it runs dry or the limit is reached: HufDecodeStep and
// HufUpdate inlined, with the same outcome, so that the bit walk stays in registers (with the
// vector partner search, text.txt decoded 18% faster at the limit 1280). The variants measured
// against it and dropped are listed in docs/benchmarks.md.
template <typename Aids>
inline void DecodeWhileRoom(DecodeState& st, HufTree& tree, uint8_t* output, uint32_t limit, uint32_t& produced,
                            Aids& aids) {
    const HufNode* nodes = tree.Nodes;
    uint32_t made = produced;
    uint32_t bitsLeft = st.BitsLeft;
    uint32_t pair = st.Walk == kHufRoot ? kHufRootPair : st.Walk;
    uint32_t bits = st.Reservoir;
    while (made < limit && bitsLeft > 0) {
        uint32_t link;
        uint32_t at;
        do {
            at = 2 * pair + (bits & 1);
            link = nodes[at].Link;
            bits >>= 1;
            --bitsLeft;
            if (link >= kHufLeafLinkBase) goto leaf;
            pair = link;
        } while (bitsLeft > 0);
        // Out of bits inside a code: the reservoir keeps its value from the start of the walk.
        st.Walk = static_cast<uint16_t>(pair);
        st.BitsLeft = 0;
        produced = made;
        return;
    leaf:
        output[made++] = static_cast<uint8_t>(link);
        huf_detail::NoHooks hooks;
        huf_detail::UpdateTree(at, tree, hooks, aids);
        st.Reservoir = bits;
        pair = kHufRootPair;
    }
    st.Walk = pair == kHufRootPair ? kHufRoot : static_cast<uint16_t>(pair);
    st.BitsLeft = static_cast<uint8_t>(bitsLeft);
    produced = made;
}

// A leaf found in the prefix table comes with its path, so the update needs no climb when no node on
// it ties with its right neighbour (which would have to be exchanged). These are the weights the
// climb would compare: a right neighbour is never below the node, so no increment of this update
// reaches it first, and one that is its parent weighs more either way.
template <uint32_t kKnownDepth>
struct KnownPath : huf_detail::NoHooks {
    static constexpr bool kHoldAfterHalving = false;
    HufNode* Nodes;             // the tree's, incremented here
    const uint16_t* Positions;  // from depth 1 down to the leaf
    uint32_t Depth;             // the path is known only up to kKnownDepth

    // One loop from the leaf up that increments as it checks, taking its increments back at a
    // tie (the weights compared are still those the climb would compare, as above), and hands
    // back no level left to increment. Checking every level first and then incrementing had two
    // loop exits to mispredict: on binary.bin at the limit 65536, 2.0 mispredicted branches per
    // symbol, now 1.6.
    bool PathWithoutTies(const HufTree&, const uint16_t*& path, uint32_t& depth) const {
        if (Depth > kKnownDepth) return false;
        for (uint32_t level = Depth; level-- > 0;) {
            const uint32_t at = Positions[level];
            if (!huf_detail::StaysInOrder(Nodes, at, ++Nodes[at].Weight)) [[unlikely]] {
                for (; level < Depth; ++level) --Nodes[Positions[level]].Weight;
                return false;
            }
        }
        path = Positions;
        depth = 0;
        return true;
    }
};

// Bytes a bulk step may have ahead of its bit position: a code (at most 45 bits) ends within 6
// bytes, the word holding its last bit then ends within 10, and the word rule wants more than a
// word beyond that; the 8-byte load needs 8.
constexpr uint32_t kBulkSlack = 16;

// Decodes whole symbols from words (the stream from a word boundary on, `available` bytes) while
// more than kWordLoadMinWanted symbols are wanted and the slack is there, so every word it reads
// from is one the word rule loads. Returns the bits used, which end at a symbol boundary.
// Kept out of the window loop: inlined there, it left its registers to that loop's values and took
// 2% more instructions at the limit 1280. What is left to win here is small, and the ideas
// measured against this loop and dropped are listed in docs/benchmarks.md.
template <typename Aids, typename Table>
[[gnu::noinline]] uint64_t DecodeBulk(const uint8_t* words, uint32_t available, HufTree& tree, const Table& table,
                                      uint8_t* output, uint32_t limit, uint32_t pauseAt, uint32_t& produced,
                                      Aids& aids) {
    HufNode* nodes = tree.Nodes;
    uint64_t bitPos = 0;
    uint32_t made = produced;
    // The loop's three conditions as two bounds: more than kWordLoadMinWanted symbols still
    // wanted and the pause not reached; the slack there (bitPos / 8 + kBulkSlack <= available).
    const uint32_t madeEnd = std::min(pauseAt, limit > kWordLoadMinWanted ? limit - kWordLoadMinWanted : 0);
    const uint64_t bitEnd = available >= kBulkSlack ? (uint64_t{available} - kBulkSlack + 1) * 8 : 0;
    while (made < madeEnd && bitPos < bitEnd) {
        // Loaded afresh for every symbol: a load only when fewer than a longest code are left
        // has a branch that is hard to predict.
        const uint64_t buffer = LoadLe64(words + bitPos / 8) >> (bitPos % 8);
        const auto index = static_cast<uint32_t>(buffer & ((1u << Table::kBits) - 1));
        const uint32_t step = table.Entry[index];
        // A leaf of the table is a walk of no steps: one loop, whose first test is the table's
        // answer, rather than a test of the entry and then the loop (text.txt at the limit 1280:
        // 2.75 -> 2.61 mispredicted branches per symbol under callgrind's model).
        const bool leaf = step >= Table::kLeafFrom;
        uint32_t at = Table::Position(step);
        uint32_t used = leaf ? Table::Depth(step) : Table::kBits;
        uint32_t link = leaf ? kHufLeafLinkBase + uint32_t{Table::Symbol(step)} : step;
        while (link < kHufLeafLinkBase) {
            at = 2 * link + static_cast<uint32_t>(buffer >> used & 1);
            link = nodes[at].Link;
            ++used;
        }
        output[made++] = static_cast<uint8_t>(link);
        bitPos += used;
        KnownPath<Table::kBits> hooks{{}, nodes, table.Path[index], used};
        huf_detail::UpdateTree(at, tree, hooks, aids);
    }
    produced = made;
    return bitPos;
}

// Where a call has got to: the carried state, the bytes consumed and the symbols made.
struct DecodeProgress {
    DecodeState State;
    uint32_t Consumed;
    uint32_t Produced;
};

// Takes words while more than kWordLoadMinWanted symbols are wanted and more than a word is left,
// then single bytes, until the source ends or enough symbols are made. With a prefix table the
// words go through the bulk loop. Pauses at a word boundary, returning true, once pauseAt symbols
// are made; going on from there is the same as not pausing. Works on local copies of the
// positions, written back once, so they stay in registers.
template <typename Aids, typename Table>
bool DecodeSymbols(DecodeProgress& progress, const uint8_t* source, uint32_t sourceLength, HufTree& tree,
                   uint8_t* output, uint32_t limit, Aids& aids, const Table* table, uint32_t pauseAt) {
    DecodeState st = progress.State;
    uint32_t pos = progress.Consumed;
    uint32_t made = progress.Produced;
    bool paused = false;
    if (st.BitsLeft > 0) DecodeWhileRoom(st, tree, output, limit, made, aids);
    if (sourceLength > kWordBytes) {
        while (limit - made > kWordLoadMinWanted && sourceLength - pos > kWordBytes) {
            if (made >= pauseAt) {
                paused = true;
                break;
            }
            if (table != nullptr && st.Walk == kHufRoot && sourceLength - pos >= kBulkSlack) {
                const uint64_t bits =
                    DecodeBulk(source + pos, sourceLength - pos, tree, *table, output, limit, pauseAt, made, aids);
                if (bits > 0) {
                    // Back to the word the straightforward reading would be in, mid-way or used up.
                    pos += static_cast<uint32_t>(bits / 32 * kWordBytes);
                    const auto inWord = static_cast<uint32_t>(bits % 32);
                    st.Reservoir = 0;
                    st.BitsLeft = 0;
                    if (inWord > 0) {
                        st.Reservoir = LoadLe32(source + pos) >> inWord;
                        st.BitsLeft = static_cast<uint8_t>(32 - inWord);
                        DecodeWhileRoom(st, tree, output, limit, made, aids);
                        pos += kWordBytes;
                    }
                    continue;
                }
            }
            st.Reservoir = LoadLe32(source + pos);
            st.BitsLeft = 32;
            DecodeWhileRoom(st, tree, output, limit, made, aids);
            pos += kWordBytes;
        }
    }
    while (!paused && made < limit && pos < sourceLength) {
        st.Reservoir = source[pos];
        st.BitsLeft = 8;
        DecodeWhileRoom(st, tree, output, limit, made, aids);
        ++pos;
    }
    progress = DecodeProgress{st, pos, made};
    return paused;
}

// The full prefix table pays off when exchanges are rare, which a high halving limit brings
// about (text.txt decoded 36% faster with it at 65536); at 16384 binary.bin is already slower with
// it, and at 4097, where a halving (each a rebuild) comes every two thousand symbols, every file.
// Below this limit the short table (four levels) is used instead: few exchanges reach that near
// the root (text.txt decoded 14% faster with it at 16384; five levels or three were slower).
constexpr uint32_t kPrefixTableLimit = 32768;
// Building a table walks the tree's first levels; short calls, which would barely use it, go
// without.
constexpr uint32_t kPrefixTableMinLimit = 256;
constexpr uint32_t kPrefixTableMinSource = 64;
// Even then some stretches exchange nodes on most symbols (random data, 0.8 per symbol; a young
// tree; parts of binary files), and with codes of a bit or two (long runs of one byte) the bit
// walk is already short: with the table in every window, zeros.bin decoded at less than half the
// speed at 65536. So a call goes in windows, each decoded with the table only when the window
// before it exchanged nodes on at most one symbol in two and used at least 3 bits per symbol; the
// first, with nothing to go by, goes without. Below kPrefixTableLimit the bits alone decide, for
// the short table, from the first window on.
constexpr uint32_t kWindowSymbols = 2048;
constexpr uint32_t kMostWindowExchanges = kWindowSymbols / 2;
constexpr uint32_t kLeastBitsPerSymbol = 3;

// The table of a window without one: nothing to keep in step.
struct NoTable {
    static void Exchanged(const HufTree&, uint32_t, uint32_t) {}
    static void Rebuild(const HufTree&) {}
};

// The climb aids of the call, plus a prefix table kept in step with the tree in a window that
// uses it, and the count of exchanges that decides what the next window will use. Separate types
// rather than a run-time switch, so that the windows without a table run the plain loops
// (zeros.bin decoded at a third of the speed through a switch, at 65536).
template <typename Climb, typename Table>
struct WindowAids {
    Climb& Call;
    Table& Kept;
    uint32_t Exchanges;

    uint32_t GuessEnd(uint32_t weight) const { return Call.GuessEnd(weight); }
    void RecordEnd(uint32_t weight, uint32_t after) { Call.RecordEnd(weight, after); }
    uint32_t ParentOf(uint32_t position) const { return Call.ParentOf(position); }
    void Exchanged(const HufTree& tree, uint32_t n, uint32_t m) {
        Call.Exchanged(tree, n, m);
        Kept.Exchanged(tree, n, m);
        ++Exchanges;
    }
    void Halved(const HufTree& tree) {
        Call.Halved(tree);
        Kept.Rebuild(tree);
    }
};

enum class WindowTable { None, Short, Full };

// What the window after one that made `symbols` from `bits` with `exchanges` exchanges will use.
WindowTable NextWindowTable(bool fullAllowed, uint32_t exchanges, uint64_t bits, uint32_t symbols) {
    if (bits < uint64_t{kLeastBitsPerSymbol} * symbols) return WindowTable::None;
    if (!fullAllowed) return WindowTable::Short;
    return exchanges <= kMostWindowExchanges ? WindowTable::Full : WindowTable::None;
}

// Decodes one window with the aids given. Returns whether it paused; `exchanges` gets the
// window's count.
template <typename Aids, typename Table>
bool DecodeWindow(DecodeProgress& progress, const uint8_t* source, uint32_t sourceLength, HufTree& tree,
                  uint8_t* output, uint32_t limit, Aids& aids, const Table* table, uint32_t& exchanges) {
    aids.Exchanges = 0;
    const bool paused = DecodeSymbols(progress, source, sourceLength, tree, output, limit, aids, table,
                                      progress.Produced + kWindowSymbols);
    exchanges = aids.Exchanges;
    return paused;
}

template <typename Aids>
void DecodeWithPolicy(DecodeProgress& progress, const uint8_t* source, uint32_t sourceLength, HufTree& tree,
                      uint8_t* output, uint32_t limit, Aids& aids) {
    constexpr uint32_t kNoPause = UINT32_MAX;
    constexpr const huf_detail::PrefixTable* kNoTable = nullptr;
    if (limit <= kPrefixTableMinLimit || sourceLength <= kPrefixTableMinSource) {
        DecodeSymbols(progress, source, sourceLength, tree, output, limit, aids, kNoTable, kNoPause);
        return;
    }
    huf_detail::PrefixTable full;
    huf_detail::ShortPrefixTable shortTable;
    NoTable none;
    WindowAids<Aids, huf_detail::PrefixTable> withFull{aids, full, 0};
    WindowAids<Aids, huf_detail::ShortPrefixTable> withShort{aids, shortTable, 0};
    WindowAids<Aids, NoTable> without{aids, none, 0};
    const bool fullAllowed = tree.HalveLimit >= kPrefixTableLimit;
    WindowTable next = fullAllowed ? WindowTable::None : WindowTable::Short;
    WindowTable kept = WindowTable::None;
    for (;;) {
        const DecodeProgress start = progress;
        bool paused = false;
        uint32_t exchanges = 0;
        switch (next) {
            case WindowTable::Full:
                if (kept != next) full.Rebuild(tree);
                paused = DecodeWindow(progress, source, sourceLength, tree, output, limit, withFull, &full, exchanges);
                break;
            case WindowTable::Short:
                if (kept != next) shortTable.Rebuild(tree);
                paused = DecodeWindow(progress, source, sourceLength, tree, output, limit, withShort, &shortTable,
                                      exchanges);
                break;
            case WindowTable::None:
                paused =
                    DecodeWindow(progress, source, sourceLength, tree, output, limit, without, kNoTable, exchanges);
                break;
        }
        kept = next;
        if (!paused) return;
        next = NextWindowTable(fullAllowed, exchanges, 8ull * (progress.Consumed - start.Consumed),
                               progress.Produced - start.Produced);
    }
}

}  // namespace

bool ZkCodec::Decode(const uint8_t* source, uint32_t sourceLength, uint32_t& consumed, uint8_t* output, uint32_t limit,
                     uint32_t& produced) {
    if (limit == 0) return false;
    DecodeProgress progress{{Reservoir, BitsLeft, Walk}, 0, 0};
    huf_detail::WithClimbAids(
        Tree, [&](auto& aids) { DecodeWithPolicy(progress, source, sourceLength, Tree, output, limit, aids); });
    Reservoir = progress.State.Reservoir;
    BitsLeft = progress.State.BitsLeft;
    Walk = progress.State.Walk;
    consumed = progress.Consumed;
    produced = progress.Produced;
    return true;
}

}  // namespace vormi
