// The block decoder on arbitrary bytes. The first bytes choose the halving
// limit, how many symbols are wanted and how the input and the limits are
// split over the calls; the rest is the coded input.
//
// Across the calls the input consumed must end exactly at the byte holding the
// last wanted symbol's final bit. Re-encoding the decoded symbols shows where
// that is: their codes must be the bits at the start of the input, and the
// consumed input exactly as long as their stream.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "vormi/codec/ZkCodec.h"

using namespace vormi;

using fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput input(data, size);
    const uint32_t halvingPeriod = fuzz::TakeHalvingPeriod(input);
    const uint32_t wanted = input.Le16();
    fuzz::SplitPlan pieces(input, 4);
    fuzz::SplitPlan limits(input, 4);
    const std::span<const uint8_t> coded = input.Rest();

    ZkCodec codec;
    codec.HalvingPeriod = halvingPeriod;
    codec.ResetForDecoding();
    const fuzz::Decoded decoded = fuzz::DecodeInSplits(codec, coded, wanted, pieces, limits);
    const fuzz::Encoded recoded = fuzz::EncodeWhole(halvingPeriod, decoded.Symbols);
    const size_t codeBytes = recoded.Bits / 8;
    const uint32_t tailBits = recoded.Bits % 8;

    Require(recoded.Stream.size() <= decoded.Consumed, "the decoded symbols need more input than was consumed");
    for (size_t i = 0; i < codeBytes; ++i)
        Require(recoded.Stream[i] == coded[i], "decoded symbols do not code the input");
    const uint8_t tailMask = static_cast<uint8_t>((1u << tailBits) - 1);
    if (tailBits != 0)
        Require((coded[codeBytes] & tailMask) == recoded.Stream[codeBytes], "decoded symbols do not code the input");

    if (decoded.Symbols.size() == wanted) {
        Require(decoded.Consumed == recoded.Stream.size(), "Decode consumed past the last wanted symbol's byte");
        // Only the last byte's padding may be left over, at a symbol boundary.
        Require(codec.BitsLeft == (8 - tailBits) % 8 && codec.Walk == 510, "Decode kept the wrong bits at the end");
    } else {
        Require(decoded.Consumed == coded.size(), "Decode stopped short with input left");
        Require(codec.BitsLeft == 0, "Decode stopped short with bits left");
    }
    return 0;
}
