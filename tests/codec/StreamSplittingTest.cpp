// However a caller cuts the input and sizes the output areas, the encoder must
// produce the one stream, and the decoder must restore it and stop exactly at
// its end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CodecTestData.h"
#include "ReferenceModel.h"
#include "vormi/codec/BufferCoding.h"
#include "vormi/codec/ZkCodec.h"

namespace vormi {

namespace {

using testdata::Bytes;

// Sizes for the k-th call of a run.
using Schedule = std::function<uint32_t(size_t call)>;

Schedule Fixed(uint32_t size) {
    return [size](size_t) { return size; };
}

// Mostly small sizes around the interesting boundaries, now and then a big one.
Schedule Random(uint64_t seed, uint32_t small) {
    auto rng = std::make_shared<testdata::Rng>(seed);
    return [rng, small](size_t) { return rng->Below(10) == 0 ? 1 + rng->Below(5000) : 1 + rng->Below(small); };
}

constexpr size_t kGuard = 40;  // more than one in-place code could overrun
constexpr uint8_t kGuardByte = 0xA5;

// An exact-size heap copy: reading past it is caught by the address sanitizer.
std::unique_ptr<uint8_t[]> ExactCopy(const uint8_t* from, size_t length) {
    auto copy = std::make_unique<uint8_t[]>(length == 0 ? 1 : length);
    if (length > 0) std::memcpy(copy.get(), from, length);
    return copy;
}

bool GuardIntact(const Bytes& area, size_t capacity) {
    return std::all_of(area.begin() + static_cast<std::ptrdiff_t>(capacity), area.end(),
                       [](uint8_t b) { return b == kGuardByte; });
}

// Drives Encode the way a careful caller must: every call starts at the first
// unconsumed input byte and appends its output; once all input is consumed,
// end-of-data calls deliver the complete bytes still waiting, and the last one
// (made with room to spare) adds the partial byte exactly once.
testing::AssertionResult EncodeInSteps(ZkCodec codec, const Bytes& source, const Schedule& piece,
                                       const Schedule& capacity, Bytes& stream) {
    stream.clear();
    size_t pos = 0;
    size_t call = 0;
    const size_t callLimit = 40 * source.size() + 1000;
    const auto fail = [&](const std::string& what) {
        return testing::AssertionFailure() << what << " (call " << call << ", input at " << pos << ")";
    };
    const auto encodeOnce = [&](uint32_t length, uint32_t room, uint32_t& consumed, uint32_t& produced) {
        const auto input = ExactCopy(source.data() + pos, length);
        Bytes area(room + kGuard, kGuardByte);
        const bool result = codec.Encode(input.get(), length, consumed, area.data(), room, produced);
        stream.insert(stream.end(), area.data(), area.data() + std::min(produced, room));
        return std::make_pair(result, GuardIntact(area, room));
    };

    while (pos < source.size()) {
        if (++call > callLimit) return fail("no progress");
        const auto length = static_cast<uint32_t>(std::min<size_t>(piece(call), source.size() - pos));
        const uint32_t room = capacity(call);
        uint32_t consumed = 0xDEAD, produced = 0xDEAD;
        const auto [result, guard] = encodeOnce(length, room, consumed, produced);
        if (!guard) return fail("wrote beyond the output area of " + std::to_string(room));
        if (produced > room) return fail("produced more than the room");
        if (consumed > length) return fail("consumed more than given");
        if (result != (consumed > 0)) return fail("result disagrees with consumed");
        if (consumed == 0 && produced != room) return fail("coded nothing although room was left");
        pos += consumed;
    }
    uint32_t room = 0;
    for (;;) {
        if (++call > callLimit) return fail("no progress at the end");
        room = capacity(call);
        if (codec.PendingBits / 8 < room) break;
        uint32_t consumed = 0xDEAD, produced = 0xDEAD;
        const auto [result, guard] = encodeOnce(0, room, consumed, produced);
        if (!guard) return fail("end of data wrote beyond the output area");
        if (!result || consumed != 0 || produced != room) return fail("end of data did not fill the area");
    }
    const uint32_t waiting = codec.PendingBits / 8 + (codec.PendingBits % 8 != 0 ? 1 : 0);
    uint32_t consumed = 0xDEAD, produced = 0xDEAD;
    const auto [result, guard] = encodeOnce(0, room, consumed, produced);
    if (!guard) return fail("last call wrote beyond the output area");
    if (consumed != 0 || produced != waiting || result != (waiting > 0)) return fail("last call delivered wrongly");
    return testing::AssertionSuccess();
}

struct Case {
    const char* Name;
    uint32_t Period;
    Bytes Source;
};

// Ends the data with its rarest byte value: a long last code leaves complete
// bytes waiting when the output areas are small, for the end-of-data calls.
Bytes WithRareEnd(Bytes data) {
    std::vector<size_t> seen(256);
    for (uint8_t b : data) ++seen[b];
    data.push_back(static_cast<uint8_t>(std::min_element(seen.begin(), seen.end()) - seen.begin()));
    return data;
}

// Short codes, long codes (skewed data at a high limit) and halvings.
std::vector<Case> Cases() {
    Bytes mixed = testdata::TextLike(900, 1);
    const Bytes skewed = testdata::Skewed(1400, 2), uniform = testdata::Uniform(500, 3);
    mixed.insert(mixed.end(), skewed.begin(), skewed.end());
    mixed.insert(mixed.end(), 300, 0x20);
    mixed.insert(mixed.end(), uniform.begin(), uniform.end());
    return {{"mixed", 1280, WithRareEnd(mixed)},
            {"skewed", 2147483648u, WithRareEnd(testdata::Skewed(3000, 4))},
            {"skewed, plain end", 2147483648u, testdata::Skewed(3000, 5)}};
}

std::vector<uint32_t> PieceSizes() {
    std::vector<uint32_t> sizes;
    for (uint32_t s = 1; s <= 40; ++s) sizes.push_back(s);
    for (uint32_t s : {63u, 64u, 255u, 1000u, 4096u, 1000000u}) sizes.push_back(s);
    return sizes;
}

std::vector<uint32_t> Capacities() {
    std::vector<uint32_t> sizes;
    for (uint32_t s = 1; s <= 70; ++s) sizes.push_back(s);
    for (uint32_t s : {100u, 255u, 1024u, 65535u}) sizes.push_back(s);
    return sizes;
}

// Every piece size against every capacity, for every case.
void ExpectOneStream(const std::vector<uint32_t>& pieces, const std::vector<uint32_t>& capacities) {
    for (const Case& c : Cases()) {
        const Bytes expected = reference::Encode(c.Period, c.Source).Bytes;
        ASSERT_EQ(EncodeBuffer(c.Source, c.Period), expected) << c.Name;
        for (uint32_t piece : pieces) {
            for (uint32_t capacity : capacities) {
                Bytes stream;
                ASSERT_TRUE(EncodeInSteps(testdata::CodecForEncoding(c.Period), c.Source, Fixed(piece), Fixed(capacity),
                                          stream))
                    << c.Name << ", pieces of " << piece << ", room " << capacity;
                ASSERT_EQ(stream, expected) << c.Name << ", pieces of " << piece << ", room " << capacity;
            }
        }
    }
}

TEST(EncodeSplitting, EveryPieceSizeGivesTheOneStream) { ExpectOneStream(PieceSizes(), {1, 2, 33, 34, 35, 1000}); }

TEST(EncodeSplitting, EveryOutputCapacityGivesTheOneStream) { ExpectOneStream({1, 3, 40, 1000000}, Capacities()); }

TEST(EncodeSplitting, SizesChangingFromCallToCall) {
    for (const Case& c : Cases()) {
        const Bytes expected = reference::Encode(c.Period, c.Source).Bytes;
        for (uint64_t seed = 1; seed <= 12; ++seed) {
            Bytes stream;
            ASSERT_TRUE(EncodeInSteps(testdata::CodecForEncoding(c.Period), c.Source, Random(seed, 45),
                                      Random(seed + 100, 75), stream))
                << c.Name << ", seed " << seed;
            ASSERT_EQ(stream, expected) << c.Name << ", seed " << seed;
        }
    }
}

// Drives Decode as the unpack loop does: each call gets the bytes from the
// first unconsumed one on (capped by the piece size) and a limit no larger
// than what is still to restore. The stream is followed by the end marker and
// junk, which must stay unconsumed.
testing::AssertionResult DecodeInSteps(ZkCodec codec, const Bytes& stream, size_t count, const Schedule& piece,
                                       const Schedule& limit, Bytes& restored) {
    Bytes input = stream;
    input.insert(input.end(), std::begin(testdata::kEndMarker), std::end(testdata::kEndMarker));
    input.insert(input.end(), {0xFF, 0x00, 0x55, 0xAA, 0x81, 0x7E, 0x01, 0xFE});
    restored.clear();
    size_t pos = 0;
    size_t call = 0;
    while (restored.size() < count) {
        if (++call > 40 * count + 1000)
            return testing::AssertionFailure() << "no progress at symbol " << restored.size();
        const auto length = static_cast<uint32_t>(std::min<size_t>(piece(call), input.size() - pos));
        const auto want = static_cast<uint32_t>(std::min<size_t>(limit(call), count - restored.size()));
        const auto source = ExactCopy(input.data() + pos, length);
        Bytes area(want + kGuard, kGuardByte);
        uint32_t consumed = 0xDEAD, produced = 0xDEAD;
        if (!codec.Decode(source.get(), length, consumed, area.data(), want, produced)) {
            return testing::AssertionFailure() << "false with limit " << want;
        }
        if (!GuardIntact(area, want) || produced > want) {
            return testing::AssertionFailure() << "wrote beyond the limit " << want << " at call " << call;
        }
        if (consumed > length) return testing::AssertionFailure() << "consumed more than given at call " << call;
        restored.insert(restored.end(), area.data(), area.data() + produced);
        pos += consumed;
    }
    if (pos != stream.size()) {
        return testing::AssertionFailure() << "consumed " << pos << " bytes of a " << stream.size() << "-byte stream";
    }
    if (codec.Walk != kHufRoot || codec.BitsLeft > 7) {
        return testing::AssertionFailure() << "ended inside a code or with whole bytes unread";
    }
    return testing::AssertionSuccess();
}

// Every piece size against every limit, for every case.
void ExpectRestored(const std::vector<uint32_t>& pieces, const std::vector<uint32_t>& limits) {
    for (const Case& c : Cases()) {
        const Bytes stream = reference::Encode(c.Period, c.Source).Bytes;
        for (uint32_t piece : pieces) {
            for (uint32_t limit : limits) {
                Bytes restored;
                ASSERT_TRUE(DecodeInSteps(testdata::CodecForDecoding(c.Period), stream, c.Source.size(), Fixed(piece),
                                          Fixed(limit), restored))
                    << c.Name << ", pieces of " << piece << ", limit " << limit;
                ASSERT_EQ(restored, c.Source) << c.Name << ", pieces of " << piece << ", limit " << limit;
            }
        }
    }
}

TEST(DecodeSplitting, EveryPieceSizeRestoresTheSourceAndStopsAtTheMarker) {
    ExpectRestored(PieceSizes(), {1, 24, 25, 26, 1000000});
}

TEST(DecodeSplitting, EveryLimitRestoresTheSourceAndStopsAtTheMarker) {
    std::vector<uint32_t> limits;
    for (uint32_t s = 1; s <= 30; ++s) limits.push_back(s);
    for (uint32_t s : {31u, 64u, 65535u, 1000000u}) limits.push_back(s);
    ExpectRestored({1, 5, 1000000}, limits);
}

TEST(DecodeSplitting, SizesChangingFromCallToCall) {
    for (const Case& c : Cases()) {
        const Bytes stream = reference::Encode(c.Period, c.Source).Bytes;
        for (uint64_t seed = 1; seed <= 12; ++seed) {
            Bytes restored;
            ASSERT_TRUE(DecodeInSteps(testdata::CodecForDecoding(c.Period), stream, c.Source.size(), Random(seed, 45),
                                      Random(seed + 50, 40), restored))
                << c.Name << ", seed " << seed;
            ASSERT_EQ(restored, c.Source) << c.Name << ", seed " << seed;
        }
    }
}

// Codes of 26 bits and more only appear once the tree has grown deep, which
// takes millions of symbols; so the codec is brought there once and copied,
// and only the tail with the long codes is cut up.
TEST(Splitting, LongCodesCutAnywhere) {
    constexpr uint32_t kLimit = 4294967295u;
    constexpr size_t kHeadLength = 2 << 20;
    Bytes whole = testdata::DeepTree(kHeadLength + 3 * 256);
    for (size_t i = 0; i < 3 * 256; ++i) whole[kHeadLength + i] = static_cast<uint8_t>(i);  // every value, thrice
    const Bytes head(whole.begin(), whole.begin() + kHeadLength), tail(whole.begin() + kHeadLength, whole.end());
    const reference::Stream expected = reference::Encode(kLimit, whole);
    ASSERT_GE(expected.LongestCode, 26u) << "the data no longer builds a deep tree";

    ZkCodec encoder = testdata::CodecForEncoding(kLimit);
    Bytes headStream(head.size());
    uint32_t consumed = 0, produced = 0;
    encoder.Encode(head.data(), static_cast<uint32_t>(head.size()), consumed, headStream.data(),
                   static_cast<uint32_t>(headStream.size()), produced);
    ASSERT_EQ(consumed, head.size());
    ASSERT_TRUE(std::equal(headStream.begin(), headStream.begin() + produced, expected.Bytes.begin()));
    const Bytes expectedTail(expected.Bytes.begin() + produced, expected.Bytes.end());
    for (uint32_t capacity = 1; capacity <= 40; ++capacity) {
        for (uint32_t piece : {1u, 2u, 5u, 1000u}) {
            Bytes stream;
            ASSERT_TRUE(EncodeInSteps(encoder, tail, Fixed(piece), Fixed(capacity), stream))
                << "pieces of " << piece << ", room " << capacity;
            ASSERT_EQ(stream, expectedTail) << "pieces of " << piece << ", room " << capacity;
        }
    }

    ZkCodec decoder = testdata::CodecForDecoding(kLimit);
    Bytes restoredHead(head.size());
    ASSERT_TRUE(decoder.Decode(expected.Bytes.data(), static_cast<uint32_t>(expected.Bytes.size()), consumed,
                               restoredHead.data(), static_cast<uint32_t>(head.size()), produced));
    ASSERT_EQ(restoredHead, head);
    const Bytes rest(expected.Bytes.begin() + consumed, expected.Bytes.end());
    for (uint32_t piece = 1; piece <= 40; ++piece) {
        for (uint32_t limit : {1u, 2u, 24u, 25u, 1000u}) {
            Bytes restored;
            ASSERT_TRUE(DecodeInSteps(decoder, rest, tail.size(), Fixed(piece), Fixed(limit), restored))
                << "pieces of " << piece << ", limit " << limit;
            ASSERT_EQ(restored, tail) << "pieces of " << piece << ", limit " << limit;
        }
    }
}

// Short sources decode from exactly-sized inputs, so any load past the last
// wanted byte (a word read near the end, say) shows up as an over-read.
TEST(DecodeSplitting, ShortSourcesNeverReadPastTheirStream) {
    for (size_t length = 0; length <= 64; ++length) {
        const Bytes source = testdata::Skewed(length, length);
        const Bytes stream = reference::Encode(0, source).Bytes;
        ZkCodec codec;
        codec.ResetForDecoding();
        const auto exact = ExactCopy(stream.data(), stream.size());
        Bytes restored(length + kGuard, kGuardByte);
        uint32_t consumed = 0, produced = 0;
        if (length > 0) {
            ASSERT_TRUE(codec.Decode(exact.get(), static_cast<uint32_t>(stream.size()), consumed, restored.data(),
                                     static_cast<uint32_t>(length), produced));
        }
        EXPECT_EQ(consumed, stream.size()) << "length " << length;
        ASSERT_EQ(produced, length);
        EXPECT_TRUE(std::equal(source.begin(), source.end(), restored.begin())) << "length " << length;
        EXPECT_TRUE(GuardIntact(restored, length)) << "length " << length;
    }
}

}  // namespace

}  // namespace vormi
