#include "vormi/testsupport/WholeStream.h"

namespace vormi::testdata {

std::vector<uint8_t> EncodeAll(ZkCodec& codec, std::span<const uint8_t> source) {
    // A code takes at most 45 bits; the end-of-data call, the window's 33 bytes.
    std::vector<uint8_t> out(source.size() * 8 + 64);
    static const uint8_t none = 0;
    const uint8_t* const data = source.empty() ? &none : source.data();
    const auto length = static_cast<uint32_t>(source.size());
    uint32_t consumed = 0;
    uint32_t produced = 0;
    uint32_t tail = 0;
    if (length > 0) codec.Encode(data, length, consumed, out.data(), static_cast<uint32_t>(out.size()), produced);
    if (consumed != length) return {};
    codec.Encode(data, 0, consumed, out.data() + produced, static_cast<uint32_t>(out.size() - produced), tail);
    out.resize(produced + tail);
    return out;
}

}  // namespace vormi::testdata
