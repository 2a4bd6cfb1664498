#include <cstring>

#include "detail/HufTreeInline.h"
#include "vormi/codec/ByteOrder.h"
#include "vormi/codec/HufTree.h"
#include "vormi/codec/ZkCodec.h"

namespace vormi {

namespace {

constexpr uint32_t kWindowBytes = sizeof(ZkCodec::EncodeWindow);
// A code of up to 32 bytes behind the partial byte, plus the zero byte written after it.
constexpr uint32_t kInPlaceRoom = kWindowBytes + 1;

// The encoder's carried state, worked on in locals during a call.
struct EncodeState {
    uint8_t Window[kWindowBytes + 1];  // the last byte is the guard, always 0
    uint32_t Count;                    // valid bits in Window
};

// The partial byte's valid bits; above them it may hold leftovers of an earlier stream.
inline uint64_t PartialByte(const EncodeState& st) { return st.Window[0] & ((1u << st.Count) - 1); }

// Reads the symbol's code (root bit in bit 0) while the update climbs: up to the first exchange the
// climb follows the code's own path. Saves the encoder a second walk per symbol (text.txt encoded
// 17% faster at the halving limit 1280).
//
// After the first exchange the rest of the code is the path from the old position's parent (which
// that exchange leaves alone), while the update goes on from the new position's parent. The two
// climbs go in step, one level of each per round, so their chains of loads overlap; the code's
// climb stays at the root once there (the aids make the root its own parent) rather than branch.
// Reading the whole rest of the code first costs a second dependent climb and its loop exit.
//
// An exchange rewrites the parent entries of the children of the two nodes it swaps: were either
// of them an ancestor of the code's next position, the path still to be read would change. An
// ancestor lies above the position, and the climbing node lies below its partner, so only an
// exchange whose partner lies above the code's next position can do that; such an exchange first
// waits for the rest of the code to be read. That never happens on the sample files; the codec
// tests bring it about (ExchangesAboveTheCodeStillToBeRead).
struct CodeReading : huf_detail::NoHooks {
    static constexpr bool kFollowsPath = true;
    // References to the caller's locals, which the compiler keeps in registers: as members of this
    // object they were kept in memory.
    uint64_t& Bits;
    uint32_t& Length;
    uint32_t& Next;  // the code's next position off the update's path

    void OnPath(uint32_t position) {
        Bits = Bits << 1 | static_cast<uint64_t>(position & 1);
        ++Length;
    }
    void LeftPath(uint32_t parent) { Next = parent; }
    template <typename Aids>
    void OffPath(const HufTree&, const Aids& aids) {
        const uint32_t more = Next != kHufRoot;
        Bits = Bits << more | static_cast<uint64_t>(Next & more);
        Length += more;
        Next = aids.ParentOf(Next);
    }
    template <typename Aids>
    void BeforeExchangeOffPath(uint32_t partner, const HufTree& tree, const Aids& aids) {
        if (partner > Next) ReadRest(tree, aids);
    }
    template <typename Aids>
    void ReachedRoot(const HufTree& tree, const Aids& aids) {
        ReadRest(tree, aids);
    }
    template <typename Aids>
    void ReadRest(const HufTree&, const Aids& aids) {
        for (; Next != kHufRoot; Next = aids.ParentOf(Next)) {
            Bits = Bits << 1 | static_cast<uint64_t>(Next & 1);
            ++Length;
        }
    }
};

// The symbol's code (see CodeReading) and the tree moved on for it; returns the code's length. A
// halving reads the whole code first, from the tree as it was.
template <typename Aids>
[[gnu::always_inline]] inline uint32_t CodeAndUpdate(uint8_t symbol, HufTree& tree, uint64_t& code, Aids& aids) {
    const uint32_t leaf = tree.LinkTable[kHufLeafLinkBase + symbol];
    if (huf_detail::HalvesFirst(tree)) {
        const uint32_t length = huf_detail::ReadCode(tree, leaf, code);
        huf_detail::NoHooks plain;
        huf_detail::UpdateTree(leaf, tree, plain, aids);
        return length;
    }
    uint64_t bits = 0;
    uint32_t length = 0;
    uint32_t next = kHufRoot;
    CodeReading reading{{}, bits, length, next};
    huf_detail::UpdateWithoutHalving(leaf, tree, reading, aids);
    code = bits;
    return length;
}

// Codes one symbol behind the nbits (< 8) bits of acc: counts its bits, updates the tree and
// returns the new bit count (at most 7 + 45).
template <typename Aids>
inline uint32_t AppendCode(uint8_t symbol, uint64_t& acc, uint32_t nbits, HufTree& tree, uint64_t& totalBits,
                           Aids& aids) {
    uint64_t code;
    const uint32_t length = CodeAndUpdate(symbol, tree, code, aids);
    acc |= code << nbits;
    totalBits += length;
    return nbits + length;
}

// Moves the complete bytes of the window to the output, as many as fit.
void FlushWindow(EncodeState& st, uint8_t*& out, uint32_t& room) {
    const uint32_t complete = st.Count / 8;
    if (complete > room) {
        std::memcpy(out, st.Window, room);
        st.Count -= 8 * room;
        std::memmove(st.Window, st.Window + room, complete - room + 1);
        room = 0;
    } else if (complete > 0) {
        std::memcpy(out, st.Window, complete);
        out += complete;
        room -= complete;
        st.Count -= 8 * complete;
        st.Window[0] = st.Window[complete];
    }
}

// Codes the bulk of source[next..] straight into the output through a 64-bit bit buffer whose
// low byte is the partial byte, while the room rule holds. Every symbol stores all 8 bytes (the
// rule leaves space) and advances by the complete ones: writing codes bit by bit had taken 45% of
// the encoding time.
//
// The loop keeps only pointers and the bit buffer, and the code bits are counted once, from the
// bytes written: with fewer live values the per-symbol state stays in registers across the
// update (text.txt encoded 14% faster at the limit 65536).
template <typename Aids>
void CodeInPlace(EncodeState& st, const uint8_t* source, uint32_t sourceLength, uint32_t& next, uint8_t*& output,
                 uint32_t& room, HufTree& tree, uint64_t& bitsCoded, Aids& aids) {
    const uint8_t* in = source + next;
    const uint8_t* const inEnd = source + sourceLength;
    uint8_t* out = output;
    uint8_t* const lastStart = out + (room - kInPlaceRoom);  // room >= kInPlaceRoom from here
    uint64_t acc = PartialByte(st);
    uint32_t nbits = st.Count;
    while (in < inEnd && out <= lastStart) {
        uint64_t code;
        const uint32_t length = CodeAndUpdate(*in++, tree, code, aids);
        acc |= code << nbits;
        nbits += length;
        StoreLe64(out, acc);
        const uint32_t complete = nbits / 8;
        out += complete;
        acc >>= 8 * complete;
        nbits %= 8;
    }
    const auto written = static_cast<uint32_t>(out - output);
    bitsCoded += 8 * uint64_t{written} + nbits - st.Count;
    st.Window[0] = static_cast<uint8_t>(acc);
    st.Count = nbits;
    next = static_cast<uint32_t>(in - source);
    output = out;
    room -= written;
}

// Codes source[next..] while there is room, first straight into the output, then through the
// window: in the last bytes of the area (under kInPlaceRoom) nothing may be written beyond it.
template <typename Aids>
void CodeSymbols(EncodeState& st, const uint8_t* source, uint32_t sourceLength, uint32_t& next, uint8_t*& output,
                 uint32_t& room, HufTree& tree, uint64_t& bitsCoded, Aids& aids) {
    if (room >= kInPlaceRoom) CodeInPlace(st, source, sourceLength, next, output, room, tree, bitsCoded, aids);
    while (next < sourceLength && room > 0) {
        uint64_t acc = PartialByte(st);
        st.Count = AppendCode(source[next++], acc, st.Count, tree, bitsCoded, aids);
        StoreLe64(st.Window, acc);
        FlushWindow(st, output, room);
    }
}

}  // namespace

bool ZkCodec::Encode(const uint8_t* source, uint32_t sourceLength, uint32_t& consumed, uint8_t* output,
                     uint32_t outputLength, uint32_t& produced) {
    if (outputLength == 0) return false;
    EncodeState st;
    std::memcpy(st.Window, EncodeWindow, kWindowBytes);
    st.Window[kWindowBytes] = 0;
    st.Count = PendingBits;
    uint8_t* out = output;
    uint32_t room = outputLength;
    FlushWindow(st, out, room);

    uint32_t i = 0;
    uint64_t totalBits = 0;
    if (sourceLength == 0) {
        if (room > 0 && st.Count > 0) {
            *out = st.Window[0];
            --room;
        }
    } else {
        huf_detail::WithClimbAids(
            Tree, [&](auto& aids) { CodeSymbols(st, source, sourceLength, i, out, room, Tree, totalBits, aids); });
    }
    AddBits(Tree.BitCount, totalBits);
    std::memcpy(EncodeWindow, st.Window, kWindowBytes);
    PendingBits = static_cast<uint8_t>(st.Count);
    consumed = i;
    produced = outputLength - room;
    return sourceLength == 0 ? produced > 0 : i > 0;
}

}  // namespace vormi
