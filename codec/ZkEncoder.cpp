#include <cstring>

#include "codec/HufTree.h"
#include "codec/ZkCodec.h"

namespace {

constexpr uint32_t kWindowBytes = sizeof(ZkCodec::EncodeWindow);
// A code of up to 32 bytes behind the partial byte, plus the zero byte written after it.
constexpr uint32_t kInPlaceRoom = kWindowBytes + 1;

// The encoder's carried state, worked on in locals during a call.
struct EncodeState {
    uint8_t Window[kWindowBytes + 1];  // the last byte is the guard, always 0
    uint32_t Count;                    // valid bits in Window
};

// Writes the code of symbol at bit a of area[0] (a < 8), keeping area[0]'s low a bits and
// clearing the rest of the last byte the code touches. Counts the bits, updates the tree and
// returns the code length.
uint32_t EmitCode(uint8_t symbol, uint8_t* area, uint32_t a, HufTree& tree) {
    uint8_t leafFirst[256];
    uint32_t length = 0;
    for (int n = tree.LinkTable[kHufLeafLinkBase + symbol]; n != kHufRoot; n = tree.LinkTable[n >> 1]) {
        leafFirst[length++] = static_cast<uint8_t>(n & 1);
    }
    area[0] &= static_cast<uint8_t>((1u << a) - 1);
    std::memset(area + 1, 0, (a + length - 1) / 8);
    for (uint32_t k = 0; k < length; ++k) {
        const uint32_t bit = a + k;
        area[bit / 8] |= static_cast<uint8_t>(leafFirst[length - 1 - k] << (bit % 8));
    }
    AddBits(tree.BitCount, static_cast<uint8_t>(length));
    HufUpdate(symbol, tree);
    return length;
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
    if (sourceLength == 0) {
        if (room > 0 && st.Count > 0) {
            *out = st.Window[0];
            --room;
        }
    } else {
        if (room >= kInPlaceRoom) {
            // The bulk is coded straight into the output; the partial byte continues there.
            out[0] = st.Window[0];
            uint32_t a = st.Count;
            while (i < sourceLength && room >= kInPlaceRoom) {
                const uint32_t t = a + EmitCode(source[i++], out, a, Tree);
                out += t / 8;
                room -= t / 8;
                a = t % 8;
            }
            st.Window[0] = out[0];
            st.Count = a;
        }
        // The last bytes of the area: codes go through the window so nothing is written beyond it.
        while (i < sourceLength && room > 0) {
            st.Count += EmitCode(source[i++], st.Window, st.Count, Tree);
            FlushWindow(st, out, room);
        }
    }
    std::memcpy(EncodeWindow, st.Window, kWindowBytes);
    PendingBits = static_cast<uint8_t>(st.Count);
    consumed = i;
    produced = outputLength - room;
    return sourceLength == 0 ? produced > 0 : i > 0;
}
