// In-memory encode and decode throughput of the codec, and the time of one halving. Files named
// on the command line are measured; without any, generated text-like, binary-like and random
// data. --limits=1280,65536 (the default) names the halving limits to run.
//
// Speeds are given as the MB/s counter, in 10^6 bytes per second; Google Benchmark's own
// bytes_per_second column counts 2^20 bytes per second (multiply by 1.048576 for MB/s).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "vormi/codec/BufferCoding.h"
#include "vormi/codec/HufTree.h"
#include "vormi/codec/ZkCodec.h"
#include "vormi/testsupport/TestData.h"

using namespace vormi;

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint32_t kBlockBytes = 65535;  // the file layer's buffer size
constexpr size_t kGeneratedBytes = 4u << 20;
constexpr uint32_t kDefaultLimits[] = {1280, 65536};

struct Input {
    std::string Name;
    Bytes Data;
};

bool ReadFile(const std::string& name, Bytes& data) {
    std::ifstream file(name, std::ios::binary);
    if (!file) return false;
    data.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
}

// Speed in decimal MB/s, next to the binary bytes_per_second.
void CountBytes(benchmark::State& state, size_t length) {
    const double bytes = static_cast<double>(state.iterations()) * static_cast<double>(length);
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
    state.counters["MB/s"] = benchmark::Counter(bytes / 1e6, benchmark::Counter::kIsRate);
}

void EncodeBench(benchmark::State& state, const Input* input, uint32_t limit) {
    ZkCodec codec;
    codec.HalvingPeriod = limit;
    Bytes block(kBlockBytes);
    const Bytes& source = input->Data;
    const auto length = static_cast<uint32_t>(source.size());
    for (auto _ : state) {
        codec.ResetForEncoding();
        uint32_t pos = 0;
        uint32_t consumed = 0;
        uint32_t produced = 0;
        while (pos < length || codec.PendingBits >= 8) {
            codec.Encode(source.data() + pos, length - pos, consumed, block.data(), kBlockBytes, produced);
            pos += consumed;
            benchmark::DoNotOptimize(block.data());
        }
        codec.Encode(source.data(), 0, consumed, block.data(), kBlockBytes, produced);
        benchmark::ClobberMemory();
    }
    CountBytes(state, length);
    char label[64];
    std::snprintf(label, sizeof label, "coding ratio %.4f", codec.GetCodingRatio());
    state.SetLabel(label);
}

void DecodeBench(benchmark::State& state, const Input* input, uint32_t limit) {
    ZkCodec codec;
    codec.HalvingPeriod = limit;
    Bytes block(kBlockBytes);
    const Bytes stream = EncodeBuffer(input->Data, limit);
    const auto length = static_cast<uint32_t>(input->Data.size());
    for (auto _ : state) {
        codec.ResetForDecoding();
        uint32_t pos = 0;
        uint32_t remaining = length;
        while (remaining > 0) {
            uint32_t consumed = 0;
            uint32_t produced = 0;
            codec.Decode(stream.data() + pos, static_cast<uint32_t>(stream.size()) - pos, consumed, block.data(),
                         remaining < kBlockBytes ? remaining : kBlockBytes, produced);
            if (produced == 0) break;
            pos += consumed;
            remaining -= produced;
            benchmark::DoNotOptimize(block.data());
        }
        if (remaining != 0) {
            state.SkipWithError("the stream did not decode to the source length");
            break;
        }
    }
    CountBytes(state, length);
}

// The trees the model holds just before each of its halvings on this input (at most 64 of them),
// halved one after another, each from a fresh copy: the time per halving includes that copy of
// the 4 KB tree.
void HalveBench(benchmark::State& state, const Input* input, uint32_t limit) {
    std::vector<HufTree> before;
    HufTree tree;
    HufInit(limit, tree);
    for (uint8_t symbol : input->Data) {
        if (tree.Nodes[kHufRoot].Weight >= tree.HalveLimit && before.size() < 64) before.push_back(tree);
        HufUpdate(symbol, tree);
    }
    if (before.empty()) {
        state.SkipWithError("the input is too short to halve at this limit");
        return;
    }
    size_t next = 0;
    for (auto _ : state) {
        HufTree copy = before[next];
        HufHalve(copy);
        benchmark::DoNotOptimize(copy);
        next = next + 1 == before.size() ? 0 : next + 1;
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}

// Takes --limits=A,B,... out of the arguments; the default limits without it.
bool TakeLimits(int& argc, char** argv, std::vector<uint32_t>& limits) {
    limits.assign(std::begin(kDefaultLimits), std::end(kDefaultLimits));
    constexpr const char kFlag[] = "--limits=";
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], kFlag, sizeof kFlag - 1) != 0) {
            argv[kept++] = argv[i];
            continue;
        }
        limits.clear();
        for (const char* at = argv[i] + sizeof kFlag - 1; *at != '\0';) {
            char* end = nullptr;
            const unsigned long limit = std::strtoul(at, &end, 10);
            if (end == at || limit == 0 || limit > UINT32_MAX || (*end != ',' && *end != '\0')) return false;
            limits.push_back(static_cast<uint32_t>(limit));
            at = *end == ',' ? end + 1 : end;
        }
        if (limits.empty()) return false;
    }
    argc = kept;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<uint32_t> limits;
    if (!TakeLimits(argc, argv, limits)) {
        std::fprintf(stderr, "--limits takes halving limits separated by commas, for example --limits=1280,4096\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    static std::vector<Input> inputs;
    for (int i = 1; i < argc; ++i) {
        Input input{argv[i], {}};
        if (!ReadFile(input.Name, input.Data)) {
            std::fprintf(stderr, "cannot read %s\n", argv[i]);
            return 1;
        }
        inputs.push_back(std::move(input));
    }
    if (inputs.empty()) {
        inputs.push_back({"generated-text", testdata::TextLike(kGeneratedBytes, 1)});
        inputs.push_back({"generated-binary", testdata::BinaryLike(kGeneratedBytes, 1)});
        inputs.push_back({"generated-random", testdata::Uniform(kGeneratedBytes, 1)});
    }
    for (const Input& input : inputs) {
        const std::string base = input.Name.substr(input.Name.find_last_of('/') + 1);
        for (uint32_t limit : limits) {
            const std::string suffix = base + "/limit:" + std::to_string(limit);
            benchmark::RegisterBenchmark(("Encode/" + suffix).c_str(), EncodeBench, &input, limit)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("Decode/" + suffix).c_str(), DecodeBench, &input, limit)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("Halve/" + suffix).c_str(), HalveBench, &input, limit)
                ->Unit(benchmark::kNanosecond);
        }
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
