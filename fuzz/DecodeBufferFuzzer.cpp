// The one-call decoder on arbitrary bytes. The first bytes choose the halving
// limit and how many bytes are wanted; the rest is the stream, in a heap block
// of exactly its size so that a read past it is reported.
//
// DecodeBuffer must agree with one call of the block decoder over the whole
// stream: the same verdict and the same bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "FuzzSupport.h"
#include "vormi/codec/BufferCoding.h"
#include "vormi/codec/ZkCodec.h"

using namespace vormi;

using fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput input(data, size);
    const uint32_t halvingPeriod = fuzz::TakeHalvingPeriod(input);
    const uint32_t wanted = input.Le16();
    const std::span<const uint8_t> rest = input.Rest();
    const std::vector<uint8_t> stream(rest.begin(), rest.end());

    std::vector<uint8_t> restored(wanted);
    const bool complete = DecodeBuffer(stream, restored, halvingPeriod);

    ZkCodec codec;
    codec.HalvingPeriod = halvingPeriod;
    codec.ResetForDecoding();
    std::vector<uint8_t> expected(wanted);
    uint32_t consumed = 0;
    uint32_t produced = 0;
    static const uint8_t none = 0;
    if (wanted != 0)
        codec.Decode(stream.empty() ? &none : stream.data(), static_cast<uint32_t>(stream.size()), consumed,
                     expected.data(), wanted, produced);
    Require(complete == (produced == wanted), "DecodeBuffer's verdict differs from the block decoder's");
    for (uint32_t i = 0; i < produced; ++i)
        Require(restored[i] == expected[i], "DecodeBuffer restored other bytes than the block decoder");
    return 0;
}
