// Pack and unpack throughput through real files, with the buffers the bench
// uses by default (65535 bytes). Files named on the command line are measured;
// without any, generated text-like and random data. Compare with the codec's
// in-memory figures: the file layer should add only the buffer traffic.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "vormi/testsupport/TempFolder.h"
#include "vormi/testsupport/TestData.h"
#include "vormi/testsupport/WholeFiles.h"
#include "vormi/zkfile/ZkFile.h"

using namespace vormi;

namespace {

constexpr uint32_t BufferSize = 65535;
constexpr uint32_t HalvingPeriods[] = {0, 65536};
constexpr size_t GeneratedBytes = 4u << 20;

std::string WorkFolder;

struct Input {
    std::string Label;
    std::string Path;  // the source file
    uint64_t Size = 0;
};

bool WriteGenerated(const std::string& path, bool textLike) {
    return testsupport::WriteWholeFile(
        path, textLike ? testdata::TextLike(GeneratedBytes, 1) : testdata::Uniform(GeneratedBytes, 2));
}

void Prepare(ZkFile& file, uint32_t halvingPeriod) {
    file.HalvingPeriod = halvingPeriod;
    file.ResetForEncoding();
    file.SetFlag(PermitOverwritePacked);
    file.SetFlag(PermitOverwriteRestored);
}

void PackBench(benchmark::State& state, const Input* input, uint32_t halvingPeriod) {
    ZkFile file(BufferSize);
    Prepare(file, halvingPeriod);
    const std::string packed = WorkFolder + "/pack.zk";
    for (auto _ : state) {
        file.Pack(input->Path, packed);
        if (file.HasError()) {
            state.SkipWithError("pack failed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * input->Size));
    const double ratio = input->Size == 0 ? 0.0 : static_cast<double>(std::filesystem::file_size(packed)) / input->Size;
    char label[64];
    std::snprintf(label, sizeof label, "size ratio %.4f", ratio);
    state.SetLabel(label);
}

void UnpackBench(benchmark::State& state, const Input* input, uint32_t halvingPeriod) {
    ZkFile file(BufferSize);
    Prepare(file, halvingPeriod);
    const std::string packed = WorkFolder + "/unpack.zk";
    file.Pack(input->Path, packed);
    if (file.HasError()) {
        state.SkipWithError("pack failed");
        return;
    }
    for (auto _ : state) {
        file.Unpack(packed, WorkFolder + "/restored");
        if (file.HasError()) {
            state.SkipWithError("unpack failed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * input->Size));
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const testsupport::TempFolder work("zkfile-bench");
    WorkFolder = work.Path();

    static std::vector<Input> inputs;
    for (int i = 1; i < argc; ++i) {
        std::error_code error;
        const uint64_t size = std::filesystem::file_size(argv[i], error);
        if (error) {
            std::fprintf(stderr, "cannot read %s\n", argv[i]);
            return 1;
        }
        // A writable copy: a read-only source would make its restored file
        // read-only too, and the next repetition could not replace it.
        const std::string label = std::filesystem::path(argv[i]).filename().string();
        const std::string copy = WorkFolder + "/" + label;
        std::filesystem::copy_file(argv[i], copy, std::filesystem::copy_options::overwrite_existing, error);
        std::filesystem::permissions(copy, std::filesystem::perms::owner_write, std::filesystem::perm_options::add,
                                     error);
        if (error) {
            std::fprintf(stderr, "cannot copy %s\n", argv[i]);
            return 1;
        }
        inputs.push_back({label, copy, size});
    }
    if (inputs.empty()) {
        for (const bool textLike : {true, false}) {
            const std::string path = WorkFolder + (textLike ? "/generated-text" : "/generated-random");
            if (!WriteGenerated(path, textLike)) {
                std::fprintf(stderr, "cannot write %s\n", path.c_str());
                return 1;
            }
            inputs.push_back({std::filesystem::path(path).filename().string(), path, GeneratedBytes});
        }
    }
    for (const Input& input : inputs) {
        for (const uint32_t period : HalvingPeriods) {
            const std::string suffix = input.Label + "/period:" + std::to_string(period);
            benchmark::RegisterBenchmark(("Pack/" + suffix).c_str(), PackBench, &input, period)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("Unpack/" + suffix).c_str(), UnpackBench, &input, period)
                ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
