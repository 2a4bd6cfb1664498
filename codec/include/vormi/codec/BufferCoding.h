// One-call coding of a whole buffer in memory, for callers that do not need
// the block operations of ZkCodec. Each call uses a codec object of its own on
// its stack, so calls may run on several threads at once.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "vormi/codec/HufTypes.h"

namespace vormi {

// The coded stream of all of data: exactly the bytes a compressed file holds
// between its information block and its end marker, for the same bytes and
// halving limit (limits below 1280 act as 1280). Works for buffers of any
// size, coding them in pieces. The caller owns the result.
std::vector<uint8_t> EncodeBuffer(std::span<const uint8_t> data, uint32_t halvingLimit = kHufMinHalveLimit);

// Decodes restored.size() bytes from stream, coded with the same halving
// limit. False when the stream ends before all of them are restored (the
// bytes restored so far are in restored). Never reads past the end of stream
// nor writes past the end of restored; bytes of stream after the last one
// needed are ignored.
bool DecodeBuffer(std::span<const uint8_t> stream, std::span<uint8_t> restored,
                  uint32_t halvingLimit = kHufMinHalveLimit);

}  // namespace vormi
