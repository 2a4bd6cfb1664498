#include "vormi/codec/BufferCoding.h"

#include <algorithm>
#include <cstddef>

#include "vormi/codec/ZkCodec.h"

namespace vormi {

namespace {

// The block operations count in 32 bits; larger buffers go through in pieces.
constexpr std::size_t kPieceLimit = std::size_t{1} << 30;
// Room the stream grows by for each encoding call.
constexpr std::size_t kOutputStep = std::size_t{1} << 20;
// The end-of-data call writes the complete bytes still in the encoder's window
// and the partial one: at most the window's 33 bytes.
constexpr std::size_t kEndRoom = 64;

uint32_t PieceOf(std::size_t length) { return static_cast<uint32_t>(std::min(length, kPieceLimit)); }

// The block operations take a pointer even for no bytes; an empty span may have none.
template <typename Byte>
Byte* Start(std::span<Byte> bytes) {
    static Byte none[1]{};
    return bytes.empty() ? none : bytes.data();
}

}  // namespace

std::vector<uint8_t> EncodeBuffer(std::span<const uint8_t> data, uint32_t halvingLimit) {
    ZkCodec codec;
    codec.HalvingPeriod = halvingLimit;
    codec.ResetForEncoding();
    std::vector<uint8_t> stream;
    std::size_t used = 0;
    // One call per piece of input and step of output, then the end-of-data call.
    bool ending = false;
    while (!ending) {
        ending = data.empty();
        stream.resize(used + (ending ? kEndRoom : kOutputStep));
        uint32_t consumed = 0;
        uint32_t produced = 0;
        codec.Encode(Start(data), ending ? 0 : PieceOf(data.size()), consumed, stream.data() + used,
                     static_cast<uint32_t>(stream.size() - used), produced);
        data = data.subspan(consumed);
        used += produced;
    }
    stream.resize(used);
    return stream;
}

bool DecodeBuffer(std::span<const uint8_t> stream, std::span<uint8_t> restored, uint32_t halvingLimit) {
    ZkCodec codec;
    codec.HalvingPeriod = halvingLimit;
    codec.ResetForDecoding();
    while (!restored.empty()) {
        uint32_t consumed = 0;
        uint32_t produced = 0;
        codec.Decode(Start(stream), PieceOf(stream.size()), consumed, restored.data(), PieceOf(restored.size()),
                     produced);
        // With the stream used up, the bits the decoder still holds give what they can, then nothing.
        if (consumed == 0 && produced == 0) return false;
        stream = stream.subspan(consumed);
        restored = restored.subspan(produced);
    }
    return true;
}

}  // namespace vormi
