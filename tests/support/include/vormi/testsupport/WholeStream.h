// A whole source coded with a codec the caller keeps, for tests that read its
// statistics or tree afterwards or go on from a codec mid-stream. Callers that
// need the stream alone use EncodeBuffer (vormi/codec/BufferCoding.h).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "vormi/codec/ZkCodec.h"

namespace vormi::testdata {

// Codes all of source in one call with room for the longest codes, then makes
// the end-of-data call: the stream those calls produce. Empty when the first
// call left input, which that room rules out (so a comparison fails).
std::vector<uint8_t> EncodeAll(ZkCodec& codec, std::span<const uint8_t> source);

}  // namespace vormi::testdata
