#include "Measure.h"

#include <vormi/vormi.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace sweep {

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint32_t kBlock = 1 << 20;  // source bytes read at a time
// Room for what the decoder may lag behind the encoder: the symbols whose bits
// still wait in the encoder (under 8 bits, plus one code of at most 255 when
// its output was full), one byte each at worst.
constexpr uint32_t kLag = 4096;
constexpr uint32_t kStreamRoom = kBlock + kLag;

struct PassResult {
    uint64_t SourceBytes = 0;
    uint64_t StreamBytes = 0;
    int64_t Halvings = 0;
    double CodingRatio = 0;
    double EncodeSeconds = 0;
    double DecodeSeconds = 0;
};

// One encoder, one decoder and their buffers, reused by every pass.
class Pass {
public:
    explicit Pass(uint32_t limit)
        : Limit_(limit), Source_(kBlock + kLag), Stream_(kStreamRoom), Restored_(kBlock + kLag) {}

    bool Run(std::FILE* file, std::array<uint64_t, 256>* counts, PassResult& result, std::string& error);

private:
    bool EncodeSome(const uint8_t* data, uint32_t length, uint32_t& consumed);
    bool DrainDecoder(std::string& error);

    uint32_t Limit_;
    std::unique_ptr<vormi::ZkCodec> Encoder_ = std::make_unique<vormi::ZkCodec>();
    std::unique_ptr<vormi::ZkCodec> Decoder_ = std::make_unique<vormi::ZkCodec>();
    std::vector<uint8_t> Source_;  // [0, Held_): source bytes coded or being coded, not yet restored and checked
    std::vector<uint8_t> Stream_;  // [0, StreamHeld_): coded bytes the decoder has not consumed
    std::vector<uint8_t> Restored_;
    uint32_t Held_ = 0, Checked_ = 0, StreamHeld_ = 0;
    uint64_t Encoded_ = 0, Decoded_ = 0, StreamTotal_ = 0;
    Clock::duration EncodeTime_{}, DecodeTime_{};
};

bool Pass::EncodeSome(const uint8_t* data, uint32_t length, uint32_t& consumed) {
    uint32_t produced = 0;
    const Clock::time_point start = Clock::now();
    const bool ok = Encoder_->Encode(data, length, consumed, Stream_.data() + StreamHeld_,
                                     static_cast<uint32_t>(Stream_.size()) - StreamHeld_, produced);
    EncodeTime_ += Clock::now() - start;
    StreamHeld_ += produced;
    StreamTotal_ += produced;
    Encoded_ += consumed;
    return ok;
}

// Restores what the stream so far holds and checks it against the source.
bool Pass::DrainDecoder(std::string& error) {
    while (StreamHeld_ > 0 && Decoded_ < Encoded_) {
        const uint32_t wanted = static_cast<uint32_t>(std::min<uint64_t>(Restored_.size(), Encoded_ - Decoded_));
        uint32_t consumed = 0, produced = 0;
        const Clock::time_point start = Clock::now();
        Decoder_->Decode(Stream_.data(), StreamHeld_, consumed, Restored_.data(), wanted, produced);
        DecodeTime_ += Clock::now() - start;
        if (std::memcmp(Restored_.data(), Source_.data() + Checked_, produced) != 0) {
            error = "the round trip differs from the source near byte " + std::to_string(Decoded_);
            return false;
        }
        Checked_ += produced;
        Decoded_ += produced;
        std::memmove(Stream_.data(), Stream_.data() + consumed, StreamHeld_ - consumed);
        StreamHeld_ -= consumed;
        if (consumed == 0 && produced == 0) break;
    }
    return true;
}

bool Pass::Run(std::FILE* file, std::array<uint64_t, 256>* counts, PassResult& result, std::string& error) {
    Encoder_->HalvingPeriod = Limit_;
    Encoder_->ResetForEncoding();
    Decoder_->HalvingPeriod = Limit_;
    Decoder_->ResetForDecoding();
    Held_ = Checked_ = StreamHeld_ = 0;
    Encoded_ = Decoded_ = StreamTotal_ = 0;
    EncodeTime_ = DecodeTime_ = {};
    uint64_t total = 0;
    while (true) {
        // The bytes not yet checked move to the front, the next block after them.
        std::memmove(Source_.data(), Source_.data() + Checked_, Held_ - Checked_);
        Held_ -= Checked_;
        Checked_ = 0;
        if (Held_ > kLag) {
            error = "the decoder fell behind the encoder by " + std::to_string(Held_) + " bytes";
            return false;
        }
        const size_t got = std::fread(Source_.data() + Held_, 1, kBlock, file);
        if (got == 0) break;
        total += got;
        if (total > UINT32_MAX) {
            error = "it grew to 4 GiB or more while it was measured";
            return false;
        }
        if (counts != nullptr)
            for (size_t i = 0; i < got; ++i) ++(*counts)[Source_[Held_ + i]];
        const uint8_t* data = Source_.data() + Held_;
        Held_ += static_cast<uint32_t>(got);
        for (uint32_t done = 0; done < got;) {
            uint32_t consumed = 0;
            if (!EncodeSome(data + done, static_cast<uint32_t>(got) - done, consumed)) {
                error = "the coded stream found no room";  // the decoder left it full
                return false;
            }
            done += consumed;
            if (!DrainDecoder(error)) return false;
        }
    }
    if (std::ferror(file)) {
        error = std::string("a read failed: ") + std::strerror(errno);
        return false;
    }
    // The end of the data: the last, partial byte.
    uint32_t none = 0;
    EncodeSome(Source_.data(), 0, none);
    if (!DrainDecoder(error)) return false;
    if (Decoded_ != Encoded_ || StreamHeld_ != 0) {
        error = "the round trip restored " + std::to_string(Decoded_) + " of " + std::to_string(Encoded_) + " bytes";
        return false;
    }
    result.SourceBytes = total;
    result.StreamBytes = StreamTotal_;
    result.Halvings = Encoder_->GetHalvings();
    result.CodingRatio = Encoder_->GetCodingRatio();
    result.EncodeSeconds = std::chrono::duration<double>(EncodeTime_).count();
    result.DecodeSeconds = std::chrono::duration<double>(DecodeTime_).count();
    return true;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::optional<double> Mbps(uint64_t bytes, const std::vector<double>& seconds) {
    const double median = Median(seconds);
    if (bytes == 0 || median <= 0) return std::nullopt;
    return static_cast<double>(bytes) / median / 1e6;
}

}  // namespace

Measurement Measure(const std::string& path, const MeasureOptions& options) {
    Measurement out;
    Pass pass(options.Limit);
    std::vector<double> encodeSeconds, decodeSeconds;
    for (int run = 0; run <= options.TimedRuns; ++run) {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (file == nullptr) {
            out.Error = std::string("cannot read it: ") + std::strerror(errno);
            return out;
        }
        PassResult result;
        const bool ok = pass.Run(file, run == 0 && options.CountBytes ? &out.ByteCounts : nullptr, result, out.Error);
        std::fclose(file);
        if (!ok) return out;
        if (run == 0) {
            out.SourceBytes = result.SourceBytes;
            out.StreamBytes = result.StreamBytes;
            out.Halvings = result.Halvings;
            out.CodingRatio = result.CodingRatio;
        } else {
            if (result.SourceBytes != out.SourceBytes || result.StreamBytes != out.StreamBytes) {
                out.Error = "it changed while it was measured";
                return out;
            }
            encodeSeconds.push_back(result.EncodeSeconds);
            decodeSeconds.push_back(result.DecodeSeconds);
        }
    }
    if (options.TimedRuns > 0) {
        out.PackMbps = Mbps(out.SourceBytes, encodeSeconds);
        out.UnpackMbps = Mbps(out.SourceBytes, decodeSeconds);
    }
    out.Ok = true;
    return out;
}

}  // namespace sweep
