// One-call packing and unpacking of files, as the vormi program does them.
// Each call uses a compressed-file object and buffers of its own, so calls on
// different files may run on several threads at once.
#pragma once

#include <cstdint>
#include <string>

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

}  // namespace vormi
