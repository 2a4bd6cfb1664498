#include "FuzzSupport.h"

#include <sanitizer/asan_interface.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#include "vormi/testsupport/WholeStream.h"

namespace vormi::fuzz {
namespace {

constexpr uint8_t kCanary = 0xA5;
constexpr uint32_t kCanaryTail = 16;
// A code cannot be longer than 255 bits, nor can the bytes still waiting in
// the encoder's window (7 bits plus one code) be more than 33.
constexpr uint32_t kMaxCodeBytes = 32;
constexpr uint32_t kUnset = 0xDEADBEEF;

// Sizes picked by the small codes; every other code stands for itself.
constexpr uint32_t kSplitSizes[] = {1,  2,  3,  4,  5,  7,   8,   16,   23,   24,    25,    26,         32,
                                    33, 34, 35, 36, 64, 255, 256, 1000, 4096, 65535, 65536, 0x7FFFFFFF, 0xFFFFFFFF};
constexpr uint32_t kSplitSizeCount = sizeof(kSplitSizes) / sizeof(kSplitSizes[0]);

constexpr uint32_t kHalvingPeriods[] = {0, 1279, 1280, 1281, 4096, 32767, 32768, 65536, 0xFFFFFFFF};
constexpr uint32_t kHalvingPeriodCount = sizeof(kHalvingPeriods) / sizeof(kHalvingPeriods[0]);

static_assert(std::is_trivially_copyable_v<ZkCodec>);

// A byte image of the codec, to show that a refused call changed nothing.
struct CodecImage {
    explicit CodecImage(const ZkCodec& codec) { std::memcpy(bytes, &codec, sizeof(ZkCodec)); }
    bool Matches(const ZkCodec& codec) const { return std::memcmp(bytes, &codec, sizeof(ZkCodec)) == 0; }
    unsigned char bytes[sizeof(ZkCodec)];
};

uint64_t CodedBits(const ZkCodec& codec) { return codec.Tree.BitCount.ByteCount * 8 + codec.Tree.BitCount.BitOffset; }

// A call given no room (Encode) or limit 0 (Decode) must refuse: false, its
// counts unwritten, the output and the codec untouched.
template <typename Call>
void RequireRefused(ZkCodec& codec, const char* reason, Call call) {
    const CodecImage before(codec);
    uint32_t consumed = kUnset;
    uint32_t produced = kUnset;
    uint8_t output = kCanary;
    const bool ok = call(consumed, &output, produced);
    Require(!ok && consumed == kUnset && produced == kUnset && output == kCanary && before.Matches(codec), reason);
}

// The end-of-data calls. A call with no more room than the complete bytes
// still waiting leaves the partial byte for the next call; the first call with
// more room delivers it and ends the stream (a further call would repeat it).
void FinishEncoding(ZkCodec& codec, SplitPlan& capacities, OutputArea& area, Bytes& stream) {
    const uint8_t none = 0;
    for (;;) {
        const uint32_t complete = codec.PendingBits / 8;
        const bool partial = codec.PendingBits % 8 != 0;
        const uint32_t capacity = std::min(capacities.Next(), kMaxCodeBytes + 2);
        uint8_t* output = area.Prepare(capacity, capacity);
        uint32_t consumed = kUnset;
        uint32_t produced = kUnset;
        const bool ok = codec.Encode(&none, 0, consumed, output, capacity, produced);
        Require(consumed == 0, "end-of-data Encode consumed input");
        Require(area.UntouchedFrom(capacity), "end-of-data Encode wrote past its room");
        Require(ok == (produced > 0), "end-of-data Encode result disagrees with produced");
        stream.insert(stream.end(), output, output + produced);
        if (capacity <= complete) {
            Require(produced == capacity, "end-of-data Encode left room unused with bytes waiting");
            continue;
        }
        Require(produced == complete + (partial ? 1 : 0), "end-of-data Encode delivered the wrong byte count");
        return;
    }
}

}  // namespace

void Fail(const char* reason) {
    std::fprintf(stderr, "fuzz check failed: %s\n", reason);
    std::fflush(stderr);
    std::abort();
}

uint8_t FuzzInput::Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

uint16_t FuzzInput::Le16() {
    const uint16_t low = Byte();
    return static_cast<uint16_t>(low | Byte() << 8);
}

uint32_t FuzzInput::Le32() {
    const uint32_t low = Le16();
    return low | static_cast<uint32_t>(Le16()) << 16;
}

std::span<const uint8_t> FuzzInput::Rest() {
    const std::span<const uint8_t> rest(data_ + pos_, size_ - pos_);
    pos_ = size_;
    return rest;
}

uint32_t TakeHalvingPeriod(FuzzInput& input) {
    const uint8_t choice = input.Byte() % (kHalvingPeriodCount + 2);
    return choice < kHalvingPeriodCount ? kHalvingPeriods[choice] : input.Le32();
}

SplitPlan::SplitPlan(FuzzInput& input, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const uint8_t code = input.Byte();
        sizes_.push_back(code < kSplitSizeCount ? kSplitSizes[code] : code);
    }
}

uint32_t SplitPlan::Next() {
    const uint32_t size = sizes_[next_];
    next_ = (next_ + 1) % sizes_.size();
    return size;
}

Feed::Feed(std::span<const uint8_t> bytes)
    : data_(new uint8_t[bytes.size() + 1]), size_(static_cast<uint32_t>(bytes.size())) {
    std::memcpy(data_.get(), bytes.data(), bytes.size());
    ASAN_POISON_MEMORY_REGION(data_.get(), size_ + 1);
}

Feed::~Feed() { ASAN_UNPOISON_MEMORY_REGION(data_.get(), size_ + 1); }

void Feed::Give(uint32_t count) {
    const uint32_t more = std::min(count, size_ - given_);
    ASAN_UNPOISON_MEMORY_REGION(data_.get() + given_, more);
    given_ += more;
}

void Feed::Consume(uint32_t count) { consumed_ += count; }

OutputArea::~OutputArea() { Unpoison(); }

void OutputArea::Unpoison() { ASAN_UNPOISON_MEMORY_REGION(bytes_.data(), bytes_.size()); }

uint8_t* OutputArea::Prepare(uint32_t capacity, uint32_t watched) {
    Unpoison();
    if (bytes_.size() < static_cast<size_t>(capacity) + kCanaryTail) bytes_.resize(capacity + kCanaryTail);
    canaryEnd_ = std::min(watched, capacity) + kCanaryTail;
    std::memset(bytes_.data(), kCanary, canaryEnd_);
    ASAN_POISON_MEMORY_REGION(bytes_.data() + canaryEnd_, bytes_.size() - canaryEnd_);
    return bytes_.data();
}

bool OutputArea::UntouchedFrom(uint32_t offset) const {
    return std::all_of(bytes_.begin() + offset, bytes_.begin() + canaryEnd_, [](uint8_t b) { return b == kCanary; });
}

Encoded EncodeWhole(uint32_t halvingPeriod, std::span<const uint8_t> source) {
    ZkCodec codec;
    codec.HalvingPeriod = halvingPeriod;
    codec.ResetForEncoding();
    Bytes stream = testdata::EncodeAll(codec, source);
    Require(codec.Tree.SymbolCount == source.size(), "Encode with ample room left input");
    const uint64_t bits = CodedBits(codec);
    Require(stream.size() == (bits + 7) / 8, "stream length disagrees with the coded bits");
    return {stream, bits};
}

Bytes EncodeInSplits(ZkCodec& codec, std::span<const uint8_t> source, SplitPlan& pieces, SplitPlan& capacities) {
    RequireRefused(
        codec, "Encode with no room did something", [&](uint32_t& consumed, uint8_t* output, uint32_t& produced) {
            return codec.Encode(source.data(), static_cast<uint32_t>(source.size()), consumed, output, 0, produced);
        });
    Feed feed(source);
    OutputArea area;
    Bytes stream;
    while (!feed.AllConsumed()) {
        feed.Give(pieces.Next());
        const uint32_t available = feed.Available();
        // Room beyond what the waiting bytes and the given input can fill changes nothing.
        const uint32_t capacity = std::min(capacities.Next(), (available + 2) * kMaxCodeBytes);
        uint8_t* output = area.Prepare(capacity, capacity);
        uint32_t consumed = kUnset;
        uint32_t produced = kUnset;
        const bool ok = codec.Encode(feed.Unconsumed(), available, consumed, output, capacity, produced);
        Require(consumed <= available, "Encode consumed more than it was given");
        Require(produced <= capacity, "Encode produced more than its room");
        Require(area.UntouchedFrom(capacity), "Encode wrote past its room");
        Require(ok == (consumed > 0), "Encode result disagrees with consumed");
        Require(consumed > 0 || produced > 0, "Encode made no progress");
        stream.insert(stream.end(), output, output + produced);
        feed.Consume(consumed);
    }
    FinishEncoding(codec, capacities, area, stream);
    Require(stream.size() == (CodedBits(codec) + 7) / 8, "stream length disagrees with the coded bits");
    return stream;
}

Decoded DecodeInSplits(ZkCodec& codec, std::span<const uint8_t> stream, uint32_t wanted, SplitPlan& pieces,
                       SplitPlan& limits) {
    RequireRefused(
        codec, "Decode with limit 0 did something", [&](uint32_t& consumed, uint8_t* output, uint32_t& produced) {
            return codec.Decode(stream.data(), static_cast<uint32_t>(stream.size()), consumed, output, 0, produced);
        });
    Feed feed(stream);
    OutputArea area;
    Decoded result;
    while (result.Symbols.size() < wanted) {
        feed.Give(pieces.Next());
        const uint32_t available = feed.Available();
        const uint32_t limit = std::min(limits.Next(), wanted - static_cast<uint32_t>(result.Symbols.size()));
        // No call can make more symbols than it has bits: the carried ones and 8 per byte.
        const uint64_t mostSymbols = 32 + 8 * static_cast<uint64_t>(available);
        uint8_t* output = area.Prepare(limit, static_cast<uint32_t>(std::min<uint64_t>(limit, mostSymbols)));
        uint32_t consumed = kUnset;
        uint32_t produced = kUnset;
        const bool ok = codec.Decode(feed.Unconsumed(), available, consumed, output, limit, produced);
        Require(ok, "Decode with a limit returned false");
        Require(consumed <= available, "Decode consumed more than it was given");
        Require(produced <= limit, "Decode produced more than its limit");
        Require(produced <= mostSymbols, "Decode produced more symbols than it had bits");
        Require(area.UntouchedFrom(produced), "Decode wrote past what it produced");
        result.Symbols.insert(result.Symbols.end(), output, output + produced);
        feed.Consume(consumed);
        if (feed.AllGiven() && consumed == 0 && produced == 0) break;
    }
    result.Consumed = feed.Consumed();
    return result;
}

}  // namespace vormi::fuzz
