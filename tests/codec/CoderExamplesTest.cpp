// The encoder's, decoder's and codec object's worked examples and boundary cases.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "vormi/codec/HufTree.h"
#include "vormi/codec/ZkCodec.h"
#include "vormi/testsupport/WholeStream.h"

namespace vormi {

namespace {

using Bytes = std::vector<uint8_t>;
using testdata::EncodeAll;

const Bytes kAbracadabraStream = {0x86, 0x46, 0x4E, 0xFF, 0xC6, 0x5F, 0x93, 0xEF, 0xDF, 0xEF, 0x03};
const Bytes kEndMarker = {0x23, 0x01, 0xCD, 0xAB};
constexpr uint32_t kUntouched = 0xDEADBEEF;

Bytes BytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct DecodeResult {
    bool Ok;
    uint32_t Consumed;
    Bytes Output;
};

DecodeResult DecodeSome(ZkCodec& codec, const Bytes& source, uint32_t offset, uint32_t limit) {
    Bytes out(limit + 1);
    uint32_t consumed = kUntouched;
    uint32_t produced = kUntouched;
    const bool ok = codec.Decode(source.data() + offset, static_cast<uint32_t>(source.size()) - offset, consumed,
                                 out.data(), limit, produced);
    out.resize(ok ? produced : 0);
    return {ok, consumed, out};
}

uint64_t TotalBits(const HufBitCount& count) { return count.ByteCount * 8 + count.BitOffset; }

ZkCodec DecodingCodec() {
    ZkCodec codec;
    codec.ResetForDecoding();
    return codec;
}

TEST(EncodeTest, AbracadabraGivesTheKnownStreamAndCounters) {
    ZkCodec codec;
    const Bytes source = BytesOf("abracadabra");
    Bytes out(1000);
    uint32_t consumed = 0;
    uint32_t produced = 0;
    EXPECT_TRUE(codec.Encode(source.data(), 11, consumed, out.data(), 1000, produced));
    EXPECT_EQ(consumed, 11u);
    ASSERT_EQ(produced, 10u);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 10), Bytes(kAbracadabraStream.begin(), kAbracadabraStream.end() - 1));

    EXPECT_TRUE(codec.Encode(source.data(), 0, consumed, out.data(), 1000, produced));
    EXPECT_EQ(consumed, 0u);
    ASSERT_EQ(produced, 1u);
    EXPECT_EQ(out[0], 0x03);
    EXPECT_EQ(codec.Tree.SymbolCount, 11u);
    EXPECT_EQ(codec.Tree.BitCount.ByteCount, 10u);
    EXPECT_EQ(codec.Tree.BitCount.BitOffset, 4);
    EXPECT_DOUBLE_EQ(codec.GetCodingRatio(), 10.0 / 11.0);
}

TEST(EncodeTest, ShortSourcesGiveTheirCodesBitReversed) {
    ZkCodec codec;
    EXPECT_EQ(EncodeAll(codec, BytesOf("aaa")), (Bytes{0x86, 0xFF, 0x3F}));
    codec.ResetForEncoding();
    EXPECT_EQ(EncodeAll(codec, BytesOf("A")), Bytes{0x82});
}

TEST(EncodeTest, NoRoomIsRefusedWithoutEffect) {
    ZkCodec codec;
    const uint8_t source[] = {'x'};
    uint8_t out[1] = {0x5A};
    uint32_t consumed = kUntouched;
    uint32_t produced = kUntouched;
    EXPECT_FALSE(codec.Encode(source, 1, consumed, out, 0, produced));
    EXPECT_FALSE(codec.Encode(source, 0, consumed, out, 0, produced));
    EXPECT_EQ(consumed, kUntouched);
    EXPECT_EQ(produced, kUntouched);
    EXPECT_EQ(out[0], 0x5A);
    EXPECT_EQ(codec.Tree.SymbolCount, 0u);
    EXPECT_EQ(codec.PendingBits, 0);
}

TEST(EncodeTest, EndOfDataWritesOnlyAPartialByte) {
    ZkCodec codec;
    uint8_t out[4] = {};
    uint32_t consumed = kUntouched;
    uint32_t produced = kUntouched;
    EXPECT_FALSE(codec.Encode(out, 0, consumed, out, 4, produced));  // empty source
    EXPECT_EQ(consumed, 0u);
    EXPECT_EQ(produced, 0u);
    EXPECT_EQ(EncodeAll(codec, BytesOf("ab")).size(), 2u);  // 16 bits: nothing partial
}

TEST(EncodeTest, CompleteBytesWithoutRoomWaitInTheWindow) {
    // After 251 'A' and 125 'B' symbol 0 has a 10-bit code.
    ZkCodec codec;
    Bytes warmUp(251 + 125, 'B');
    std::fill(warmUp.begin(), warmUp.begin() + 251, 'A');
    EncodeAll(codec, warmUp);
    codec.PendingBits = 7;
    codec.EncodeWindow[0] = 0x55;
    ZkCodec ample = codec;

    const uint8_t symbol[] = {0};
    uint8_t out[8] = {};
    uint32_t consumed = 0;
    uint32_t produced = 0;
    EXPECT_TRUE(codec.Encode(symbol, 1, consumed, out, 1, produced));
    EXPECT_EQ(consumed, 1u);
    EXPECT_EQ(produced, 1u);
    EXPECT_EQ(codec.PendingBits, 9);
    EXPECT_EQ(TotalBits(codec.Tree.BitCount) - TotalBits(ample.Tree.BitCount), 10u);

    // A call with input but no room left after the waiting byte codes nothing.
    EXPECT_FALSE(codec.Encode(symbol, 1, consumed, out + 1, 1, produced));
    EXPECT_EQ(consumed, 0u);
    EXPECT_EQ(produced, 1u);
    EXPECT_TRUE(codec.Encode(symbol, 0, consumed, out + 2, 6, produced));
    EXPECT_EQ(produced, 1u);

    EXPECT_EQ(Bytes(out, out + 3), EncodeAll(ample, Bytes{0}));
}

TEST(EncodeTest, BytesBeyondTheAreaAreNeverWritten) {
    const Bytes source = BytesOf("the window phase handles the last bytes of every output area");
    for (uint32_t room = 1; room <= 70; ++room) {
        ZkCodec codec;
        Bytes out(room + 16, 0xEE);
        uint32_t consumed = 0;
        uint32_t produced = 0;
        codec.Encode(source.data(), static_cast<uint32_t>(source.size()), consumed, out.data(), room, produced);
        EXPECT_LE(produced, room);
        for (size_t k = room; k < out.size(); ++k) ASSERT_EQ(out[k], 0xEE) << "room " << room;
    }
}

TEST(DecodeTest, StopsAtTheLastWantedBit) {
    const Bytes input = Concat(kAbracadabraStream, kEndMarker);
    ZkCodec codec = DecodingCodec();
    DecodeResult r = DecodeSome(codec, input, 0, 11);
    EXPECT_TRUE(r.Ok);
    EXPECT_EQ(r.Output, BytesOf("abracadabra"));
    EXPECT_EQ(r.Consumed, 11u);
    EXPECT_EQ(codec.BitsLeft, 4);
    EXPECT_EQ(codec.Walk, kHufRoot);
}

TEST(DecodeTest, KeepsUnusedBitsForTheNextCall) {
    const Bytes input = Concat(kAbracadabraStream, kEndMarker);
    ZkCodec codec = DecodingCodec();
    DecodeResult first = DecodeSome(codec, input, 0, 6);
    EXPECT_EQ(first.Output, BytesOf("abraca"));
    EXPECT_EQ(first.Consumed, 6u);
    EXPECT_EQ(codec.BitsLeft, 1);
    DecodeResult second = DecodeSome(codec, input, 6, 5);
    EXPECT_EQ(second.Output, BytesOf("dabra"));
    EXPECT_EQ(second.Consumed, 5u);

    const Bytes aaa = {0x86, 0xFF, 0x3F};
    codec.ResetForDecoding();
    first = DecodeSome(codec, aaa, 0, 1);
    EXPECT_EQ(first.Output, BytesOf("a"));
    EXPECT_EQ(first.Consumed, 1u);
    EXPECT_EQ(codec.BitsLeft, 0);
    second = DecodeSome(codec, aaa, 1, 2);
    EXPECT_EQ(second.Output, BytesOf("aa"));
    EXPECT_EQ(second.Consumed, 2u);
    EXPECT_EQ(codec.BitsLeft, 1);
}

TEST(DecodeTest, ZeroLimitIsRefusedWithoutEffect) {
    ZkCodec codec = DecodingCodec();
    DecodeResult r = DecodeSome(codec, kAbracadabraStream, 0, 0);
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.Consumed, kUntouched);
    EXPECT_EQ(codec.Tree.SymbolCount, 0u);
    EXPECT_EQ(codec.Walk, kHufRoot);
}

TEST(DecodeTest, CarriedBitsDecodeWithoutInput) {
    // Late in a long run of one byte its code is one bit, so a kept byte holds whole symbols.
    ZkCodec encoder;
    const Bytes source(400, 'a');
    const Bytes stream = EncodeAll(encoder, source);
    ZkCodec codec = DecodingCodec();
    const DecodeResult first = DecodeSome(codec, stream, 0, 285);
    const uint8_t kept = codec.BitsLeft;
    ASSERT_GT(kept, 0);
    const DecodeResult second = DecodeSome(codec, stream, static_cast<uint32_t>(stream.size()), 100);
    EXPECT_TRUE(second.Ok);
    EXPECT_EQ(second.Consumed, 0u);
    EXPECT_EQ(second.Output, Bytes(kept, 'a'));
    EXPECT_EQ(codec.BitsLeft, 0);
}

TEST(DecodeTest, ConsumesExactlyTheBytesOfTheWantedSymbolsAroundTheWordLoadBoundary) {
    // One-bit codes: 24 symbols end in byte 3, the 25th takes a bit of byte 4.
    ZkCodec encoder;
    const Bytes source(2000, 'z');
    const Bytes stream = EncodeAll(encoder, source);
    ZkCodec codec = DecodingCodec();
    DecodeResult warm = DecodeSome(codec, stream, 0, 1000);
    while (codec.BitsLeft != 0) DecodeSome(codec, stream, warm.Consumed, 1);
    for (uint32_t limit : {24u, 25u}) {
        ZkCodec copy = codec;
        const DecodeResult r = DecodeSome(copy, stream, warm.Consumed, limit);
        EXPECT_EQ(r.Output, Bytes(limit, 'z'));
        EXPECT_EQ(r.Consumed, (limit + 7) / 8) << limit;
        EXPECT_EQ(copy.BitsLeft, r.Consumed * 8 - limit) << limit;
    }
    // Inputs of 4 and 5 bytes hold 32 and 40 symbols.
    for (uint32_t length : {4u, 5u}) {
        ZkCodec copy = codec;
        const Bytes piece(stream.begin() + warm.Consumed, stream.begin() + warm.Consumed + length);
        const DecodeResult r = DecodeSome(copy, piece, 0, 100);
        EXPECT_EQ(r.Consumed, length);
        EXPECT_EQ(r.Output, Bytes(8 * length, 'z'));
    }
}

TEST(ZkCodecTest, ConstructionAndResets) {
    alignas(ZkCodec) uint8_t storage[sizeof(ZkCodec)];
    std::memset(storage, 0xFF, sizeof storage);
    ZkCodec* codec = new (storage) ZkCodec;
    EXPECT_EQ(codec->WindowGuard, 0);
    EXPECT_EQ(codec->HalvingPeriod, 0u);
    EXPECT_EQ(codec->ModeFlags, 1);
    EXPECT_EQ(codec->PendingBits, 0);
    EXPECT_EQ(codec->GetHalveLimit(), 1280u);
    EXPECT_EQ(codec->GetHalvings(), 0);
    EXPECT_EQ(codec->GetCodingRatio(), 0.0);

    codec->ResetForDecoding();
    EXPECT_EQ(codec->ModeFlags, 2);
    EXPECT_EQ(codec->Walk, kHufRoot);
    EXPECT_EQ(codec->Reservoir, 0u);
    EXPECT_EQ(codec->BitsLeft, 0);
    codec->ResetForEncoding();
    EXPECT_EQ(codec->ModeFlags, 1);
    codec->Done();
}

TEST(ZkCodecTest, HalvingPeriodTakesEffectAtTheNextReset) {
    ZkCodec codec;
    const std::pair<uint32_t, uint32_t> cases[] = {{5000, 5000}, {1000, 1280}, {0, 1280}};
    for (const auto& [period, limit] : cases) {
        codec.HalvingPeriod = period;
        codec.ResetForDecoding();
        EXPECT_EQ(codec.GetHalveLimit(), limit) << period;
    }
    codec.HalvingPeriod = 70000;
    EXPECT_EQ(codec.GetHalveLimit(), 1280u);
}

TEST(ZkCodecTest, ResetClearsTheStatisticsOfTheLastStream) {
    ZkCodec codec;
    EncodeAll(codec, Bytes(3000, 7));
    EXPECT_GT(codec.GetHalvings(), 0);
    EXPECT_GT(codec.GetCodingRatio(), 0.0);
    codec.ResetForEncoding();
    EXPECT_EQ(codec.GetHalvings(), 0);
    EXPECT_EQ(codec.Tree.SymbolCount, 0u);
    EXPECT_EQ(codec.Tree.BitCount.ByteCount, 0u);
    EXPECT_EQ(codec.GetCodingRatio(), 0.0);
}

}  // namespace

}  // namespace vormi
