#include "codec/HufTree.h"
#include "codec/HufTreeInline.h"
#include "codec/ZkCodec.h"

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
// HufUpdate inlined, with the same outcome, so the bit walk stays in registers. With the vector
// partner search: text.txt decode at the limit 1280 24.3 -> 28.7 MB/s. Updating along the path
// recorded on the way down instead of through the link table measured within noise (29.4 / 29.1),
// and incrementing on the way down, to skip the walk back up when nothing is exchanged, slower
// (24.2 / 27.4 at 1280, 43.4 / 48.9 at 65536). Climbing back through a switch on the depth
// walked down, unrolled, to spare the climb's loop exit: slower too (32.0 -> 30.7, 52.7 -> 46.7).
template <typename Guesses>
inline void DecodeWhileRoom(DecodeState& st, HufTree& tree, uint8_t* output, uint32_t limit, uint32_t& produced,
                            Guesses& guesses) {
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
        huf_detail::UpdateFromLeaf(static_cast<int>(at), tree, guesses);
        st.Reservoir = bits;
        pair = kHufRootPair;
    }
    st.Walk = pair == kHufRootPair ? kHufRoot : static_cast<uint16_t>(pair);
    st.BitsLeft = static_cast<uint8_t>(bitsLeft);
    produced = made;
}

// Takes words while more than kWordLoadMinWanted symbols are wanted and more than a word is left,
// then single bytes, until the source ends or enough symbols are made. Works on local copies of
// the positions, written back once, so they stay in registers.
template <typename Guesses>
void DecodeSymbols(DecodeState& state, const uint8_t* source, uint32_t sourceLength, uint32_t& consumed, HufTree& tree,
                   uint8_t* output, uint32_t limit, uint32_t& produced, Guesses& guesses) {
    DecodeState st = state;
    uint32_t pos = consumed;
    uint32_t made = produced;
    if (st.BitsLeft > 0) DecodeWhileRoom(st, tree, output, limit, made, guesses);
    if (sourceLength > kWordBytes) {
        while (limit - made > kWordLoadMinWanted && sourceLength - pos > kWordBytes) {
            st.Reservoir = uint32_t{source[pos]} | uint32_t{source[pos + 1]} << 8 | uint32_t{source[pos + 2]} << 16 |
                           uint32_t{source[pos + 3]} << 24;
            st.BitsLeft = 32;
            DecodeWhileRoom(st, tree, output, limit, made, guesses);
            pos += kWordBytes;
        }
    }
    while (made < limit && pos < sourceLength) {
        st.Reservoir = source[pos];
        st.BitsLeft = 8;
        DecodeWhileRoom(st, tree, output, limit, made, guesses);
        ++pos;
    }
    state = st;
    consumed = pos;
    produced = made;
}

}  // namespace

bool ZkCodec::Decode(const uint8_t* source, uint32_t sourceLength, uint32_t& consumed, uint8_t* output, uint32_t limit,
                     uint32_t& produced) {
    if (limit == 0) return false;
    DecodeState st{Reservoir, BitsLeft, Walk};
    uint32_t made = 0;
    uint32_t pos = 0;
    huf_detail::WithGuesses(Tree, [&](auto& guesses) {
        DecodeSymbols(st, source, sourceLength, pos, Tree, output, limit, made, guesses);
    });
    Reservoir = st.Reservoir;
    BitsLeft = st.BitsLeft;
    Walk = st.Walk;
    consumed = pos;
    produced = made;
    return true;
}
