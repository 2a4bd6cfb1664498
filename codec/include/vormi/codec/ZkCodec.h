// The codec object: one adaptive tree plus the state the block encoder and the
// block decoder carry between calls. Fixed size, allocates nothing, does no I/O;
// the caller owns every buffer it passes. One object serves one thread at a
// time; separate objects are independent.
// Encode and Decode keep tables on the stack during a call: about 6 KB for
// Encode and 14 KB for Decode.
#pragma once

#include <cstdint>

#include "vormi/codec/HufTypes.h"

namespace vormi {

class ZkCodec {
public:
    HufTree Tree;
    // The fields and their order are the codec's fixed layout, kept whole although some of them
    // are no longer needed by the coders.
    uint8_t ModeFlags;         // bit 0: reset for encoding, bit 1: for decoding; nothing reads it
    uint8_t EncodeWindow[33];  // encoder bit window, byte 0 being filled; 33 bytes as the layout
                               // has them, though the bits waiting never fill more than 7
    uint8_t WindowGuard;       // always 0, the byte after the window; Encode keeps its own copy
    uint8_t PendingBits;       // valid bits in EncodeWindow
    uint32_t Reservoir;        // decoder: unconsumed bits, next one in bit 0
    uint8_t BitsLeft;          // decoder: bits in Reservoir, 0..32
    uint16_t Walk;             // decoder: 510 at a symbol boundary, else a child pair
    uint32_t HalvingPeriod;    // handed to HufInit at every reset

    // All fields zero, HalvingPeriod 0, then ResetForEncoding.
    ZkCodec();

    // Does nothing: the end of the object's life, which ZkFile's Done calls first.
    void Done();
    void ResetCommon();
    void ResetForEncoding();
    void ResetForDecoding();

    uint32_t GetHalveLimit() const;
    int64_t GetHalvings() const;
    // Whole coded bytes per coded symbol since the last reset (1.0 = no
    // compression). With no symbol coded (an empty source) it returns 0
    // rather than dividing by zero.
    double GetCodingRatio() const;

    // Codes a prefix of source[0..sourceLength) into output[0..outputLength).
    // consumed: input bytes coded; produced: output bytes written. Bits that do
    // not fill a byte, and complete bytes that found no room, stay in the codec.
    // sourceLength 0 is the end-of-data call that writes the final partial byte.
    // Returns false at once (outputs unwritten) when outputLength is 0;
    // otherwise consumed > 0 (with input) or produced > 0 (end of data).
    // Bytes of output beyond produced may hold scratch.
    // The end-of-data call writes the partial byte only after the complete
    // bytes still waiting (PendingBits / 8 of them), so give it room for all of
    // them plus one; its result cannot tell a caller with less room whether
    // the partial byte went out, and repeating it after it did would write
    // that byte twice. File buffers (at least 1000 bytes) always have room.
    bool Encode(const uint8_t* source, uint32_t sourceLength, uint32_t& consumed, uint8_t* output,
                uint32_t outputLength, uint32_t& produced);

    // Restores at most limit bytes from the coded bytes source[0..sourceLength).
    // Never consumes a byte beyond the one holding the last wanted symbol's
    // final bit; unused bits of consumed bytes stay in the codec.
    // Returns false at once (outputs unwritten) when limit is 0, else true.
    bool Decode(const uint8_t* source, uint32_t sourceLength, uint32_t& consumed, uint8_t* output, uint32_t limit,
                uint32_t& produced);
};

}  // namespace vormi
