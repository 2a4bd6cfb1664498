// Runs a fuzz target's LLVMFuzzerTestOneInput over saved inputs, for the builds
// without libFuzzer: each argument is a file or a folder of files. A failed
// check aborts, so any finding fails the run.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

bool Replay(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::filesystem::path> files;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path argument = argv[i];
        if (!std::filesystem::is_directory(argument)) {
            files.push_back(argument);
            continue;
        }
        for (const auto& entry : std::filesystem::directory_iterator(argument))
            if (entry.is_regular_file()) files.push_back(entry.path());
    }
    // An empty list is a mistake in the test's set-up, not a pass.
    if (files.empty()) {
        std::fprintf(stderr, "usage: %s FILE-OR-FOLDER...: no inputs found\n", argv[0]);
        return 2;
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        if (!Replay(file)) {
            std::fprintf(stderr, "cannot read %s\n", file.c_str());
            return 2;
        }
    }
    std::printf("replayed %zu inputs\n", files.size());
    return 0;
}
