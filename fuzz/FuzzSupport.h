// What the fuzz targets share: a reader of settings from the front of an
// input, call splits chosen by those settings, guarded input and output areas
// and the codec driven in pieces with every call's contract checked.
// A failed check is a finding: it prints its reason and aborts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "vormi/codec/ZkCodec.h"

namespace vormi::fuzz {

using Bytes = std::vector<uint8_t>;

[[noreturn]] void Fail(const char* reason);
inline void Require(bool condition, const char* reason) {
    if (!condition) Fail(reason);
}

// Settings taken from the front of a fuzz input; past its end every read gives 0.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t Byte();
    uint16_t Le16();
    uint32_t Le32();
    // The bytes not read yet, all of them.
    std::span<const uint8_t> Rest();

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// A halving period chosen by the input: the values around which the model's
// behaviour changes (the least limit, the decoder's table sizes, a limit never
// reached) or any 32-bit value.
uint32_t TakeHalvingPeriod(FuzzInput& input);

// Sizes for successive calls (input pieces, output capacities, limits), taken
// in turn and round again. Small codes pick the sizes where the coders change
// paths (1, around 24/25 symbols and 33/34/35 bytes of room, word loads),
// larger ones stand for themselves.
class SplitPlan {
public:
    SplitPlan(FuzzInput& input, size_t count);
    uint32_t Next();  // never 0

private:
    std::vector<uint32_t> sizes_;
    size_t next_ = 0;
};

// A heap copy of which a growing prefix is handed to the calls. Under
// AddressSanitizer the rest is poisoned, so a read past what a call was given
// is reported.
class Feed {
public:
    explicit Feed(std::span<const uint8_t> bytes);
    ~Feed();
    Feed(const Feed&) = delete;
    Feed& operator=(const Feed&) = delete;

    void Give(uint32_t count);  // hands out up to count more bytes
    void Consume(uint32_t count);
    const uint8_t* Unconsumed() const { return data_.get() + consumed_; }
    uint32_t Available() const { return given_ - consumed_; }
    uint32_t Consumed() const { return consumed_; }
    bool AllGiven() const { return given_ == size_; }
    bool AllConsumed() const { return consumed_ == size_; }

private:
    std::unique_ptr<uint8_t[]> data_;
    uint32_t size_;
    uint32_t given_ = 0;
    uint32_t consumed_ = 0;
};

// The output area of one call. Prepare fills its first `watched` bytes and a
// tail after them with a canary; under AddressSanitizer everything after the
// tail is poisoned, so a write there is reported too.
class OutputArea {
public:
    OutputArea() = default;
    ~OutputArea();
    OutputArea(const OutputArea&) = delete;
    OutputArea& operator=(const OutputArea&) = delete;

    uint8_t* Prepare(uint32_t capacity, uint32_t watched);
    // The canary is intact from offset to the end of the tail.
    bool UntouchedFrom(uint32_t offset) const;
    const uint8_t* Data() const { return bytes_.data(); }

private:
    void Unpoison();
    Bytes bytes_;
    uint32_t canaryEnd_ = 0;
};

struct Encoded {
    Bytes Stream;
    uint64_t Bits = 0;  // code bits in Stream; the rest of its last byte is padding
};

// Encodes source in one call with ample room plus the end-of-data call.
Encoded EncodeWhole(uint32_t halvingPeriod, std::span<const uint8_t> source);

// Encodes source after a reset with the input in pieces and output capacities
// from the plans, then makes the end-of-data calls, checking each call.
Bytes EncodeInSplits(ZkCodec& codec, std::span<const uint8_t> source, SplitPlan& pieces, SplitPlan& capacities);

struct Decoded {
    Bytes Symbols;
    uint32_t Consumed = 0;  // input bytes consumed by all calls together
};

// Decodes up to wanted symbols after a reset, with the input in pieces and
// per-call limits (never above the symbols still wanted) from the plans,
// checking each call. Stops early when the input is used up.
Decoded DecodeInSplits(ZkCodec& codec, std::span<const uint8_t> stream, uint32_t wanted, SplitPlan& pieces,
                       SplitPlan& limits);

}  // namespace vormi::fuzz
