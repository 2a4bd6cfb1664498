// Operations of the adaptive Huffman model. Encoder and decoder start from the
// same tree (HufInit) and apply the same HufUpdate after every symbol, so the
// tree is a pure function of the halving limit and the symbols seen so far.
#pragma once

#include <cstdint>

#include "vormi/codec/HufTypes.h"

namespace vormi {

// Balanced initial tree (every code 8 bits, the symbol's bits from the most
// significant down), counters cleared, HalveLimit = max(limit, 1280).
void HufInit(uint32_t limit, HufTree& tree);

// Moves the tree one symbol on: halves first when the root has reached
// HalveLimit, then increments the symbol's path, exchanging nodes to keep
// sibling order. Counts the symbol.
void HufUpdate(uint8_t symbol, HufTree& tree);

// Halves every leaf weight (w -> w/2 + 1) and rebuilds the tree in merge
// order. Only HufUpdate calls it; exposed for tests.
void HufHalve(HufTree& tree);

// Walks the tree with up to bitsLeft (<= 32) bits taken from the low end of
// reservoir. walk is 510 at a symbol boundary, else the child pair left by the
// previous call. Returns true when a leaf was reached: walk = symbol, the tree
// updated for it, reservoir/bitsLeft hold the unread bits. Returns false with
// bitsLeft 0 when the bits ran out inside a code (reservoir not written back)
// or when bitsLeft was 0 on entry (nothing changes).
bool HufDecodeStep(uint32_t& reservoir, uint8_t& bitsLeft, uint16_t& walk, HufTree& tree);

void ClearCount(uint64_t& counter);
void AddCount(uint64_t& counter, uint16_t amount);
// Adds code bits to the bit counter, carrying whole bytes into ByteCount. The
// encoder adds each call's total at once, hence the 64-bit amount; inline, as
// a call at the end of Encode had cost its loops registers (zeros.bin packs
// with 5% more instructions at the halving limit 65536).
inline void AddBits(HufBitCount& counter, uint64_t bits) {
    const uint64_t total = counter.BitOffset + bits;
    counter.BitOffset = static_cast<uint8_t>(total % 8);
    counter.ByteCount += total / 8;
}

}  // namespace vormi
