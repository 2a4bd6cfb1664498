// Encode and decode of arbitrary data. The first bytes choose the halving
// limit and how the encoder's input and output areas and the decoder's input
// and limits are split over the calls; the rest is the data.
//
// The split stream must equal the one a single call gives; decoding it with a
// trailer after it must restore the data and never consume the trailer.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "FuzzSupport.h"
#include "vormi/codec/ZkCodec.h"

using namespace vormi;

using fuzz::Require;

namespace {

// What follows a stream in a file: the end marker, then anything.
constexpr uint8_t kTrailer[] = {0x23, 0x01, 0xCD, 0xAB, 0xFF, 0x00, 0x5A, 0xC3};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput input(data, size);
    const uint32_t halvingPeriod = fuzz::TakeHalvingPeriod(input);
    fuzz::SplitPlan encodePieces(input, 4);
    fuzz::SplitPlan capacities(input, 4);
    fuzz::SplitPlan decodePieces(input, 4);
    fuzz::SplitPlan limits(input, 4);
    const std::span<const uint8_t> source = input.Rest();

    ZkCodec codec;
    codec.HalvingPeriod = halvingPeriod;
    codec.ResetForEncoding();
    const fuzz::Bytes stream = fuzz::EncodeInSplits(codec, source, encodePieces, capacities);
    Require(stream == fuzz::EncodeWhole(halvingPeriod, source).Stream, "split encoding differs from a single call");

    fuzz::Bytes withTrailer = stream;
    withTrailer.insert(withTrailer.end(), std::begin(kTrailer), std::end(kTrailer));
    codec.ResetForDecoding();
    const fuzz::Decoded decoded =
        fuzz::DecodeInSplits(codec, withTrailer, static_cast<uint32_t>(source.size()), decodePieces, limits);
    Require(
        decoded.Symbols.size() == source.size() && std::equal(source.begin(), source.end(), decoded.Symbols.begin()),
        "round trip changed the data");
    Require(decoded.Consumed == stream.size(), "Decode did not stop at the end of the stream");
    return 0;
}
