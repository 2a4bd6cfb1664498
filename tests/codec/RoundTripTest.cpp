// Whatever is encoded decodes back to the same bytes, with the decoder's tree
// ending where the encoder's did, at every halving limit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "CodecTestData.h"
#include "ReferenceModel.h"
#include "vormi/codec/ZkCodec.h"

namespace vormi {

namespace {

using testdata::Bytes;

const uint32_t kLimits[] = {0, 1281, 5000, 65536, 2147483648u, 4294967295u};

// "" when equal, else where the two first differ.
std::string Mismatch(const Bytes& expected, const Bytes& actual) {
    const size_t common = std::min(expected.size(), actual.size());
    for (size_t i = 0; i < common; ++i) {
        if (expected[i] != actual[i]) {
            return "first difference at offset " + std::to_string(i) + ": expected " + std::to_string(expected[i]) +
                   ", got " + std::to_string(actual[i]);
        }
    }
    if (expected.size() != actual.size()) {
        return "lengths differ: expected " + std::to_string(expected.size()) + ", got " + std::to_string(actual.size());
    }
    return {};
}

bool SameModelState(const HufTree& a, const HufTree& b) {
    for (int i = 0; i < kHufNodeCount; ++i) {
        if (a.Nodes[i].Weight != b.Nodes[i].Weight || a.Nodes[i].Link != b.Nodes[i].Link) return false;
    }
    for (int k = 0; k < 512; ++k) {
        if (k != 255 && a.LinkTable[k] != b.LinkTable[k]) return false;
    }
    return a.HalveLimit == b.HalveLimit && a.Halvings == b.Halvings && a.SymbolCount == b.SymbolCount;
}

// Encodes in one call, decodes the stream followed by the end marker in one
// call from an exact-size buffer, and checks both directions. With a
// reference stream given, the encoder's bytes must equal it too.
void Verify(uint32_t period, const Bytes& source, const std::string& label, const Bytes* expectedStream = nullptr) {
    SCOPED_TRACE(label + ", limit " + std::to_string(period) + ", " + std::to_string(source.size()) + " bytes");
    ZkCodec encoder = testdata::CodecForEncoding(period);
    const Bytes stream = testdata::EncodeAll(encoder, source);
    if (expectedStream != nullptr) {
        ASSERT_EQ(Mismatch(*expectedStream, stream), "");
    }
    ASSERT_EQ(encoder.Tree.SymbolCount, source.size());
    const uint64_t bits = encoder.Tree.BitCount.ByteCount * 8 + encoder.Tree.BitCount.BitOffset;
    ASSERT_EQ(stream.size(), (bits + 7) / 8) << "the stream is the codes plus padding, nothing else";

    ZkCodec decoder = testdata::CodecForDecoding(period);
    const size_t inputLength = stream.size() + sizeof testdata::kEndMarker;
    const auto input = std::make_unique<uint8_t[]>(inputLength);
    std::memcpy(input.get(), stream.data(), stream.size());
    std::memcpy(input.get() + stream.size(), testdata::kEndMarker, sizeof testdata::kEndMarker);
    Bytes restored(source.size());
    uint32_t consumed = 0, produced = 0;
    if (!source.empty()) {
        ASSERT_TRUE(decoder.Decode(input.get(), static_cast<uint32_t>(inputLength), consumed, restored.data(),
                                   static_cast<uint32_t>(source.size()), produced));
    }
    ASSERT_EQ(produced, source.size());
    ASSERT_EQ(Mismatch(source, restored), "");
    EXPECT_EQ(consumed, stream.size()) << "the end marker must stay unconsumed";
    EXPECT_TRUE(SameModelState(encoder.Tree, decoder.Tree)) << "decoder's tree ended elsewhere";
}

TEST(RoundTrip, AllByteValues) {
    for (uint32_t limit : kLimits) {
        Verify(limit, testdata::Cycling(256), "each value once");
        Verify(limit, testdata::Cycling(256 * 40), "cycling");
        Bytes descending = testdata::Cycling(256 * 10);
        std::reverse(descending.begin(), descending.end());
        Verify(limit, descending, "cycling downwards");
    }
}

TEST(RoundTrip, OneRepeatedByteHalvingThousandsOfTimes) {
    const Bytes source = testdata::Repeated(2 << 20, 0x00);
    ZkCodec encoder = testdata::CodecForEncoding(1280);
    testdata::EncodeAll(encoder, source);
    EXPECT_GT(encoder.GetHalvings(), 4000);
    Verify(1280, source, "one value");
    Verify(5000, testdata::Repeated(300000, 0xFF), "one value");
}

TEST(RoundTrip, RandomAndSkewedDataAtEveryLimit) {
    for (uint32_t limit : kLimits) {
        for (size_t size : {0, 1, 2, 24, 25, 33, 34, 35, 1000, 65536}) {
            for (const auto& [name, data] : {std::pair{"uniform", testdata::Uniform(size, size + limit)},
                                             std::pair{"skewed", testdata::Skewed(size, size ^ limit)}}) {
                const Bytes expected = reference::Encode(limit, data).Bytes;
                Verify(limit, data, name, &expected);
            }
        }
    }
}

TEST(RoundTrip, MegabyteInputs) {
    for (uint32_t limit : {0u, 2147483648u}) {
        Verify(limit, testdata::Uniform(1 << 20, 77), "uniform");
        Verify(limit, testdata::Skewed(1 << 20, 78), "skewed");
        Verify(limit, testdata::TextLike(1 << 20, 79), "text");
        Verify(limit, testdata::BinaryLike(1 << 20, 80), "binary");
    }
}

TEST(RoundTrip, CorpusFiles) {
    const auto files = testdata::CorpusFiles();
    if (files.empty()) GTEST_SKIP() << "no sample files in " << testdata::CorpusFolder();
    for (const auto& file : files) {
        Verify(0, testdata::ReadPrefix(file, 1 << 20), file.filename().string());
        Verify(65536, testdata::ReadPrefix(file, 1 << 18), file.filename().string());
    }
}

}  // namespace

}  // namespace vormi
