// The production tree, encoder and decoder held against the literal model
// after every single symbol.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CodecTestData.h"
#include "ReferenceModel.h"
#include "vormi/codec/BufferCoding.h"
#include "vormi/codec/HufTree.h"
#include "vormi/codec/ZkCodec.h"
#include "vormi/testsupport/TreeCompare.h"

namespace vormi {

namespace {

using testdata::Bytes;

Bytes Ascii(const std::string& text) { return Bytes(text.begin(), text.end()); }

size_t CodeLength(uint8_t symbol, const reference::Tree& tree) { return testsupport::CodeOf(tree, symbol).size(); }

// The model is the oracle for everything below, so it is first pinned to
// outcomes worked out by hand.
TEST(ReferenceModel, ReproducesHandWorkedStreams) {
    EXPECT_EQ(reference::Encode(0, Ascii("aaa")).Bytes, (Bytes{0x86, 0xFF, 0x3F}));
    const reference::Stream abracadabra = reference::Encode(0, Ascii("abracadabra"));
    EXPECT_EQ(abracadabra.Bytes, (Bytes{0x86, 0x46, 0x4E, 0xFF, 0xC6, 0x5F, 0x93, 0xEF, 0xDF, 0xEF, 0x03}));
    EXPECT_EQ(abracadabra.BitLength, 84u);
    EXPECT_EQ(reference::Decode(0, abracadabra.Bytes, 11).Symbols, Ascii("abracadabra"));

    reference::Tree tree;
    reference::Init(0, tree);
    EXPECT_EQ(testsupport::CodeOf(tree, 65), "01000001");
    reference::Update(65, tree);
    reference::Update(65, tree);
    EXPECT_EQ(tree.Nodes[382].Link, 321);  // the leaf of 65 swapped with an internal node
    EXPECT_EQ(tree.LinkTable[126], 255);
    EXPECT_EQ(testsupport::CodeOf(tree, 252), "111111110");
}

TEST(ReferenceModel, HalvesOneRepeatedSymbolAtTheLimit) {
    reference::Tree tree;
    reference::Init(1000, tree);
    EXPECT_EQ(tree.HalveLimit, 1280u);
    for (int i = 0; i < 1024; ++i) reference::Update(7, tree);
    EXPECT_EQ(tree.Nodes[510].Weight, 1280u);
    EXPECT_EQ(tree.Halvings, 0u);
    reference::Update(7, tree);
    EXPECT_EQ(tree.Halvings, 1u);
    EXPECT_EQ(tree.SymbolCount, 1025u);
    EXPECT_EQ(tree.Nodes[510].Weight, 769u);
    EXPECT_EQ(tree.Nodes[tree.LinkTable[256 + 7]].Weight, 514u);
    EXPECT_EQ(CodeLength(7, tree), 1u);
    int eightBit = 0, nineBit = 0;
    for (int s = 0; s < 256; ++s) {
        const size_t length = CodeLength(static_cast<uint8_t>(s), tree);
        eightBit += length == 8;
        nineBit += length == 9;
    }
    EXPECT_EQ(eightBit, 1);
    EXPECT_EQ(nineBit, 254);
}

TEST(ReferenceModel, RebuildPlacesLeavesBeforeEqualInternalNodes) {
    reference::Tree tree;
    reference::Init(1280, tree);
    for (int s = 2; s < 256; ++s) reference::Update(static_cast<uint8_t>(s), tree);
    while (tree.Nodes[510].Weight < 1280) reference::Update(2, tree);
    reference::Halve(tree);
    EXPECT_EQ(tree.Nodes[0].Link, 256);
    EXPECT_EQ(tree.Nodes[1].Link, 257);
    for (int i = 2; i <= 254; ++i) {
        ASSERT_EQ(tree.Nodes[i].Weight, 2u) << i;
        ASSERT_GE(tree.Nodes[i].Link, 256) << i;
    }
    EXPECT_EQ(tree.Nodes[255].Weight, 2u);
    EXPECT_EQ(tree.Nodes[255].Link, 0);
    EXPECT_EQ(tree.LinkTable[0], 255);
}

struct Limit {
    uint32_t Value;
    size_t Symbols;  // enough to halve several times, or at least once at the large limit
};

const Limit kLimits[] = {{1280, 20000}, {1281, 20000}, {4096, 20000}, {65536, 66000}};

TEST(TreeAgainstModel, InitClampsTheLimitAndBuildsTheSameTree) {
    for (uint32_t limit : {0u, 1u, 1279u, 1280u, 1281u, 2147483648u, 4294967295u}) {
        reference::Tree model;
        reference::Init(limit, model);
        HufTree tree;
        HufInit(limit, tree);
        ASSERT_EQ(reference::FirstDifference(model, tree), "") << "limit " << limit;
        EXPECT_EQ(tree.BitCount.BitOffset, 0);
        EXPECT_EQ(tree.BitCount.ByteCount, 0u);
    }
}

TEST(TreeAgainstModel, EqualAfterEveryUpdate) {
    for (const Limit& limit : kLimits) {
        for (const auto& input : testdata::CorpusLikeInputs(limit.Symbols, limit.Value)) {
            reference::Tree model;
            reference::Init(limit.Value, model);
            HufTree tree;
            HufInit(limit.Value, tree);
            for (size_t i = 0; i < input.Data.size(); ++i) {
                reference::Update(input.Data[i], model);
                HufUpdate(input.Data[i], tree);
                const std::string difference = reference::FirstDifference(model, tree);
                ASSERT_EQ(difference, "") << input.Name << " input, limit " << limit.Value << ", after symbol #" << i
                                          << " (" << int{input.Data[i]} << ")";
            }
            EXPECT_GT(model.Halvings, 0u) << input.Name << " input, limit " << limit.Value;
        }
    }
}

// The rebuild reads the old leaves in place, ahead of the positions it writes, and relies on no
// leaf moving up; held against the model on trees grown at every kind of input, then on the same
// trees with their weights scaled towards 2^32, where the halved weights reach 2^31.
TEST(TreeAgainstModel, HalvingLightAndHeavyTrees) {
    for (const auto& input : testdata::CorpusLikeInputs(12000, 11)) {
        HufTree tree;
        HufInit(4294967295u, tree);  // halved here by hand only
        for (uint8_t symbol : input.Data) HufUpdate(symbol, tree);
        for (const uint32_t scale : {1u, 1000u, 4294967295u / tree.Nodes[kHufRoot].Weight}) {
            // Scaling every weight keeps the order and the sums.
            HufTree scaled = tree;
            reference::Tree model{};
            for (int i = 0; i < kHufNodeCount; ++i) {
                scaled.Nodes[i].Weight *= scale;
                model.Nodes[i] = {scaled.Nodes[i].Weight, scaled.Nodes[i].Link};
            }
            std::copy(std::begin(scaled.LinkTable), std::end(scaled.LinkTable), model.LinkTable);
            model.HalveLimit = scaled.HalveLimit;
            model.SymbolCount = scaled.SymbolCount;
            for (int round = 1; round <= 3; ++round) {
                reference::Halve(model);
                HufHalve(scaled);
                ASSERT_EQ(reference::FirstDifference(model, scaled), "")
                    << input.Name << " input, weights times " << scale << ", halving " << round;
            }
        }
    }
}

// One symbol per Encode call, so the tree and the bit counter can be checked
// after each symbol; the joined output must be the model's stream.
TEST(EncoderAgainstModel, TreeCodesAndBitCountAfterEverySymbol) {
    for (uint32_t limit : {1280u, 4096u}) {
        for (const auto& input : testdata::CorpusLikeInputs(12000, limit + 7)) {
            reference::Tree model;
            reference::Init(limit, model);
            ZkCodec codec = testdata::CodecForEncoding(limit);
            Bytes stream;
            uint64_t bits = 0;
            uint8_t area[64];
            for (size_t i = 0; i < input.Data.size(); ++i) {
                bits += CodeLength(input.Data[i], model);
                reference::Update(input.Data[i], model);
                uint32_t consumed = 0, produced = 0;
                ASSERT_TRUE(codec.Encode(&input.Data[i], 1, consumed, area, sizeof area, produced));
                ASSERT_EQ(consumed, 1u);
                stream.insert(stream.end(), area, area + produced);
                const std::string difference = reference::FirstDifference(model, codec.Tree);
                ASSERT_EQ(difference, "") << input.Name << " input, limit " << limit << ", after symbol #" << i;
                ASSERT_EQ(codec.Tree.BitCount.ByteCount * 8 + codec.Tree.BitCount.BitOffset, bits)
                    << input.Name << " input, limit " << limit << ", after symbol #" << i;
            }
            uint32_t consumed = 0, produced = 0;
            codec.Encode(input.Data.data(), 0, consumed, area, sizeof area, produced);
            stream.insert(stream.end(), area, area + produced);
            EXPECT_EQ(stream, reference::Encode(limit, input.Data).Bytes) << input.Name << " input, limit " << limit;
        }
    }
}

// One symbol per Decode call, each given only the bytes it has not consumed.
TEST(DecoderAgainstModel, TreeAfterEverySymbol) {
    for (uint32_t limit : {1280u, 4096u}) {
        for (const auto& input : testdata::CorpusLikeInputs(12000, limit + 11)) {
            const Bytes stream = reference::Encode(limit, input.Data).Bytes;
            reference::Tree model;
            reference::Init(limit, model);
            ZkCodec codec = testdata::CodecForDecoding(limit);
            size_t pos = 0;
            for (size_t i = 0; i < input.Data.size(); ++i) {
                reference::Update(input.Data[i], model);
                uint8_t symbol = 0;
                uint32_t consumed = 0, produced = 0;
                // An exact-size copy, so reading past it is caught; 40 bytes hold any code.
                const size_t take = std::min<size_t>(40, stream.size() - pos);
                const Bytes rest(stream.begin() + static_cast<std::ptrdiff_t>(pos),
                                 stream.begin() + static_cast<std::ptrdiff_t>(pos + take));
                ASSERT_TRUE(
                    codec.Decode(rest.data(), static_cast<uint32_t>(rest.size()), consumed, &symbol, 1, produced));
                pos += consumed;
                ASSERT_EQ(produced, 1u) << input.Name << " input, limit " << limit << ", symbol #" << i;
                ASSERT_EQ(symbol, input.Data[i]) << input.Name << " input, limit " << limit << ", symbol #" << i;
                const std::string difference = reference::FirstDifference(model, codec.Tree);
                ASSERT_EQ(difference, "") << input.Name << " input, limit " << limit << ", after symbol #" << i;
            }
            EXPECT_EQ(pos, stream.size()) << input.Name << " input, limit " << limit;
        }
    }
}

// Whole streams in one call each way: within a call the coders carry what they learnt of the tree
// from symbol to symbol (across halvings too), and must still end on the model's tree.
TEST(CodecAgainstModel, WholeStreamsAtSeveralLimits) {
    for (uint32_t limit : {0u, 1281u, 4096u, 65536u, 2147483648u}) {
        for (const auto& input : testdata::CorpusLikeInputs(100000, limit)) {
            ZkCodec codec = testdata::CodecForEncoding(limit);
            const reference::Stream expected = reference::Encode(limit, input.Data);
            EXPECT_EQ(testdata::EncodeAll(codec, input.Data), expected.Bytes)
                << input.Name << " input, limit " << limit;
            EXPECT_EQ(codec.Tree.BitCount.ByteCount * 8 + codec.Tree.BitCount.BitOffset, expected.BitLength);
            EXPECT_EQ(codec.Tree.SymbolCount, input.Data.size());

            reference::Tree model;
            reference::Init(limit, model);
            for (uint8_t symbol : input.Data) reference::Update(symbol, model);
            EXPECT_EQ(reference::FirstDifference(model, codec.Tree), "") << input.Name << " input, limit " << limit;

            ZkCodec decoder = testdata::CodecForDecoding(limit);
            Bytes decoded(input.Data.size());
            uint32_t consumed = 0, produced = 0;
            decoder.Decode(expected.Bytes.data(), static_cast<uint32_t>(expected.Bytes.size()), consumed,
                           decoded.data(), static_cast<uint32_t>(decoded.size()), produced);
            EXPECT_EQ(decoded, input.Data) << input.Name << " input, limit " << limit;
            EXPECT_EQ(reference::FirstDifference(model, decoder.Tree), "") << input.Name << " input, limit " << limit;
        }
    }
}

// After the first exchange of a symbol the encoder reads the rest of its code while the update
// climbs on; an exchange whose partner lies above the code's next position waits for the read to
// finish. These inputs bring such exchanges about (36 times over the six), so the waiting path is
// held against the model too.
TEST(CodecAgainstModel, ExchangesAboveTheCodeStillToBeRead) {
    for (uint32_t limit : {1280u, 1500u, 4096u}) {
        for (uint64_t seed : {1u, 2u}) {
            const Bytes source = testdata::Halving(300000, seed + limit);
            ZkCodec codec = testdata::CodecForEncoding(limit);
            EXPECT_EQ(testdata::EncodeAll(codec, source), reference::Encode(limit, source).Bytes)
                << "limit " << limit << ", seed " << seed;
        }
    }
}

TEST(CodecAgainstModel, CorpusPrefixes) {
    const auto files = testdata::CorpusFiles();
    if (files.empty()) GTEST_SKIP() << "no sample files in " << testdata::CorpusFolder();
    for (const auto& file : files) {
        const Bytes data = testdata::ReadPrefix(file, 30000);
        reference::Tree model;
        reference::Init(1280, model);
        HufTree tree;
        HufInit(1280, tree);
        for (size_t i = 0; i < data.size(); ++i) {
            reference::Update(data[i], model);
            HufUpdate(data[i], tree);
            ASSERT_EQ(reference::FirstDifference(model, tree), "") << file << ", after symbol #" << i;
        }
        EXPECT_EQ(EncodeBuffer(data, 1280), reference::Encode(1280, data).Bytes) << file;
    }
}

}  // namespace

}  // namespace vormi
