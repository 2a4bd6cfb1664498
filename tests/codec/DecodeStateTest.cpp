// Decode may take any internal route (whole words, look-up tables, bulk loops), but after every
// call it must leave exactly what a literal reading leaves: the stream taken one symbol at a time
// through HufDecodeStep, four bytes at a time while more than 24 symbols are wanted and more than
// four bytes are left, then byte by byte. Compared call by call: bytes consumed, symbols produced,
// the carried reservoir, bit count and walk, and at the end the whole tree.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "CodecTestData.h"
#include "vormi/codec/BufferCoding.h"
#include "vormi/codec/HufTree.h"
#include "vormi/codec/ZkCodec.h"
#include "vormi/testsupport/TreeCompare.h"

namespace vormi {

namespace {

using testdata::Bytes;

struct Literal {
    HufTree Tree;
    uint32_t Reservoir = 0;
    uint8_t BitsLeft = 0;
    uint16_t Walk = kHufRoot;

    explicit Literal(uint32_t period) { HufInit(period, Tree); }

    void Drain(uint32_t limit, Bytes& out) {
        while (out.size() < limit && BitsLeft > 0) {
            if (HufDecodeStep(Reservoir, BitsLeft, Walk, Tree)) {
                out.push_back(static_cast<uint8_t>(Walk));
                Walk = kHufRoot;
            }
        }
    }

    uint32_t Call(const uint8_t* source, uint32_t length, uint32_t limit, Bytes& out) {
        out.clear();
        uint32_t pos = 0;
        Drain(limit, out);
        while (length > 4 && limit - out.size() > 24 && length - pos > 4) {
            // Little-endian, as the stream is, whatever the processor.
            Reservoir = 0;
            for (uint32_t i = 0; i < 4; ++i) Reservoir |= uint32_t{source[pos + i]} << (8 * i);
            BitsLeft = 32;
            Drain(limit, out);
            pos += 4;
        }
        while (out.size() < limit && pos < length) {
            Reservoir = source[pos++];
            BitsLeft = 8;
            Drain(limit, out);
        }
        return pos;
    }
};

struct Sizes {
    uint32_t Piece;
    uint32_t Limit;
};

testing::AssertionResult SameStateAfterEveryCall(uint32_t period, const Bytes& source, testdata::Rng* rng,
                                                 Sizes fixed) {
    Bytes stream = EncodeBuffer(source, period);
    stream.insert(stream.end(), std::begin(testdata::kEndMarker), std::end(testdata::kEndMarker));
    ZkCodec codec = testdata::CodecForDecoding(period);
    Literal literal(period);
    size_t pos = 0;
    size_t restored = 0;
    for (size_t call = 1; restored < source.size(); ++call) {
        Sizes sizes = fixed;
        if (rng != nullptr) sizes = {1 + rng->Below(rng->Below(4) == 0 ? 70000 : 100), 1 + rng->Below(70000)};
        const auto length = static_cast<uint32_t>(std::min<size_t>(sizes.Piece, stream.size() - pos));
        const auto want = static_cast<uint32_t>(std::min<size_t>(sizes.Limit, source.size() - restored));
        Bytes area(want);
        Bytes expected;
        uint32_t consumed = 0, produced = 0;
        codec.Decode(stream.data() + pos, length, consumed, area.data(), want, produced);
        const uint32_t literalConsumed = literal.Call(stream.data() + pos, length, want, expected);
        area.resize(produced);
        if (consumed != literalConsumed || area != expected || codec.Reservoir != literal.Reservoir ||
            codec.BitsLeft != literal.BitsLeft || codec.Walk != literal.Walk) {
            return testing::AssertionFailure()
                   << "call " << call << " (" << length << " bytes, limit " << want << "): consumed " << consumed
                   << " / " << literalConsumed << ", produced " << produced << " / " << expected.size()
                   << ", reservoir " << codec.Reservoir << " / " << literal.Reservoir << ", bits "
                   << int{codec.BitsLeft} << " / " << int{literal.BitsLeft} << ", walk " << codec.Walk << " / "
                   << literal.Walk;
        }
        if (consumed == 0 && produced == 0) return testing::AssertionFailure() << "no progress at call " << call;
        pos += consumed;
        restored += produced;
    }
    if (const std::string difference = testsupport::FirstTreeDifference(literal.Tree, codec.Tree);
        !difference.empty()) {
        return testing::AssertionFailure() << "the trees differ at the end, first at " << difference;
    }
    return testing::AssertionSuccess();
}

// Text-like data rarely exchanges nodes at high halving limits, random data does on most
// symbols: between them they take every route the decoder has.
std::vector<testdata::NamedInput> Inputs() {
    constexpr size_t kLength = 150000;
    return {{"text", testdata::TextLike(kLength, 3)},
            {"binary", testdata::BinaryLike(kLength, 4)},
            {"uniform", testdata::Uniform(kLength, 5)},
            {"skewed", testdata::Skewed(kLength, 6)}};
}

constexpr uint32_t kPeriods[] = {1280, 16384, 32768, 65536, 4294967295u};

TEST(DecodeState, LargeCallsLeaveTheLiteralState) {
    for (const auto& input : Inputs()) {
        for (uint32_t period : kPeriods) {
            for (Sizes sizes : {Sizes{1000000, 65535}, Sizes{65536, 100000}, Sizes{4096, 65535}, Sizes{1000000, 300}}) {
                EXPECT_TRUE(SameStateAfterEveryCall(period, input.Data, nullptr, sizes))
                    << input.Name << ", period " << period << ", pieces " << sizes.Piece << ", limit " << sizes.Limit;
            }
        }
    }
}

TEST(DecodeState, CallsAroundTheRuleBoundariesLeaveTheLiteralState) {
    const Bytes text = testdata::TextLike(20000, 7);
    for (uint32_t period : {1280u, 65536u}) {
        for (uint32_t piece : {15u, 16u, 17u, 64u, 65u, 66u}) {
            for (uint32_t limit : {24u, 25u, 26u, 256u, 257u, 258u, 2048u}) {
                EXPECT_TRUE(SameStateAfterEveryCall(period, text, nullptr, {piece, limit}))
                    << "period " << period << ", pieces " << piece << ", limit " << limit;
            }
        }
    }
}

TEST(DecodeState, CallsOfRandomSizesLeaveTheLiteralState) {
    for (const auto& input : Inputs()) {
        for (uint32_t period : kPeriods) {
            testdata::Rng rng(period + input.Data.size());
            EXPECT_TRUE(SameStateAfterEveryCall(period, input.Data, &rng, {})) << input.Name << ", period " << period;
        }
    }
}

}  // namespace

}  // namespace vormi
