// vormi: an adaptive Huffman single-file compressor. The one header a user
// includes; link vormi::vormi (CMake) or `pkg-config --libs vormi`.
//
//     std::vector<uint8_t> stream = vormi::EncodeBuffer(bytes);
//     vormi::DecodeBuffer(stream, restored);              // restored.size() bytes
//     vormi::ZkError e = vormi::PackFile("a.txt", "a.zk"); // 0 (zkeNone) on success
//     e = vormi::UnpackFile("a.zk", "a.out");
//
// The one-call functions keep no state between calls and may run on several
// threads at once. A ZkCodec or ZkFile object (for coding in blocks, or with
// options of your own) serves one thread at a time; it allocates nothing
// itself but ZkFile's two buffers, and it owns them.
#pragma once

#include "vormi/codec/BufferCoding.h"
#include "vormi/codec/ZkCodec.h"
#include "vormi/version.h"
#include "vormi/zkfile/FileCoding.h"
#include "vormi/zkfile/FixedPoint.h"
#include "vormi/zkfile/ZkError.h"
#include "vormi/zkfile/ZkFile.h"
