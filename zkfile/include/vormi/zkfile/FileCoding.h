// One-call packing and unpacking of files, as the vormi program does them.
// Each call uses a compressed-file object and buffers of its own, so calls on
// different files may run on several threads at once.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "vormi/codec/HufTypes.h"
#include "vormi/zkfile/ZkError.h"

namespace vormi {

// The buffer size the program uses unless told otherwise.
inline constexpr uint32_t ZkDefaultBufferSize = 65535;

// Packs the file source into the compressed file packed, replacing an existing
// packed file, with the halving limit halvingLimit (limits below 1280 act as
// 1280). Returns the error code the program would print, zkeNone (0) on success.
ZkError PackFile(const std::string& source, const std::string& packed, uint32_t halvingLimit = kHufMinHalveLimit);

// Unpacks the compressed file packed into restored, replacing an existing
// restored file and giving it the source's attributes and date. The halving
// limit must be the one the file was packed with (else zkeBadHalveLimit, 20).
// Returns the error code the program would print, zkeNone (0) on success.
ZkError UnpackFile(const std::string& packed, const std::string& restored, uint32_t halvingLimit = kHufMinHalveLimit);

// The size of the compressed file PackFile writes for a source named
// sourceName (the information block keeps its name without the folder, at
// most 255 bytes) whose coded stream (EncodeBuffer's result, or the bytes a
// ZkCodec's Encode calls produce) is streamLength bytes long: header,
// information block, stream and end marker.
uint64_t PackedFileSize(std::string_view sourceName, uint64_t streamLength);

}  // namespace vormi
