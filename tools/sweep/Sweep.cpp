#include "Sweep.h"

#include <unistd.h>
#include <vormi/vormi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

#include "Limits.h"
#include "Measure.h"

namespace sweep {

namespace {

using Clock = std::chrono::steady_clock;

double EntropyRatio(const std::array<uint64_t, 256>& counts, uint64_t total) {
    if (total == 0) return 0;
    double bits = 0;
    for (const uint64_t count : counts) {
        if (count == 0) continue;
        const double p = static_cast<double>(count) / static_cast<double>(total);
        bits -= p * std::log2(p);
    }
    return bits / 8;
}

// The progress line on standard error: redrawn in place, erased at the end.
class Progress {
public:
    Progress(bool shown, size_t total) : Shown_(shown), Total_(total) {}

    void Started(size_t started, const std::string& file, uint32_t limit) {
        std::lock_guard lock(Mutex_);
        Started_ = started;
        File_ = file;
        Limit_ = limit;
        DrawLocked();
    }
    void Draw() {
        std::lock_guard lock(Mutex_);
        DrawLocked();
    }
    void Erase() {
        if (Shown_) std::fputs("\r\033[K", stderr);
    }

private:
    void DrawLocked() {
        if (!Shown_ || Started_ == 0) return;
        const double elapsed = std::chrono::duration<double>(Clock::now() - Start_).count();
        std::fprintf(stderr, "\r\033[Kpair %zu of %zu: %s, limit %u, %.1f s", Started_, Total_, File_.c_str(), Limit_,
                     elapsed);
        std::fflush(stderr);
    }

    bool Shown_;
    size_t Total_, Started_ = 0;
    std::string File_;
    uint32_t Limit_ = 0;
    Clock::time_point Start_ = Clock::now();
    std::mutex Mutex_;
};

}  // namespace

std::string RatioText(long double ratio) { return vormi::FormatFixed(ratio, 0, 4); }

SweepResult RunSweep(const std::vector<Source>& sources, const SweepOptions& options) {
    const size_t limitCount = options.Limits.size();
    const size_t total = sources.size() * limitCount;
    std::vector<Measurement> measured(total);
    SweepResult result;
    result.Jobs =
        static_cast<int>(std::clamp<size_t>(static_cast<size_t>(options.Jobs), 1, std::max<size_t>(total, 1)));
    result.TimedRuns = options.TimedRuns;

    Progress progress(options.Progress, total);
    std::atomic<size_t> next{0};
    std::atomic<int> running{result.Jobs};
    std::mutex doneMutex;
    std::condition_variable done;
    auto worker = [&] {
        for (size_t i; (i = next.fetch_add(1)) < total;) {
            const Source& source = sources[i / limitCount];
            const size_t limitIndex = i % limitCount;
            progress.Started(i + 1, source.Path, options.Limits[limitIndex]);
            measured[i] = Measure(source.Path, {options.Limits[limitIndex], options.TimedRuns, limitIndex == 0});
        }
        std::lock_guard lock(doneMutex);
        --running;
        done.notify_one();
    };
    std::vector<std::thread> threads;
    for (int t = 0; t < result.Jobs; ++t) threads.emplace_back(worker);
    {
        // The elapsed time ticks on while a long pair runs.
        std::unique_lock lock(doneMutex);
        while (!done.wait_for(lock, std::chrono::milliseconds(500), [&] { return running == 0; })) progress.Draw();
    }
    for (std::thread& thread : threads) thread.join();
    progress.Erase();

    for (size_t f = 0; f < sources.size(); ++f) {
        const Measurement* first = &measured[f * limitCount];
        const auto failed = std::find_if(first, first + limitCount, [](const Measurement& m) { return !m.Ok; });
        if (failed != first + limitCount) {
            result.Problems.push_back("skipping '" + sources[f].Path + "' (limit " +
                                      std::to_string(options.Limits[static_cast<size_t>(failed - first)]) +
                                      "): " + failed->Error);
            continue;
        }
        const std::string& file = sources[f].Path;
        size_t best = 0;
        for (size_t l = 1; l < limitCount; ++l)
            if (first[l].StreamBytes < first[best].StreamBytes) best = l;
        FileSummary summary{file,
                            first[0].SourceBytes,
                            EntropyRatio(first[0].ByteCounts, first[0].SourceBytes),
                            options.Limits[best],
                            first[best].CodingRatio,
                            std::nullopt};
        for (size_t l = 0; l < limitCount; ++l) {
            const Measurement& m = first[l];
            const uint64_t packed = vormi::PackedFileSize(file, m.StreamBytes);
            std::optional<long double> sizeRatio;
            if (m.SourceBytes > 0) sizeRatio = static_cast<long double>(packed) / m.SourceBytes;
            result.Rows.push_back({file, options.Limits[l], m.SourceBytes, packed, sizeRatio, m.CodingRatio, m.Halvings,
                                   m.PackMbps, m.UnpackMbps, l == best});
            if (options.Limits[l] == kDefaultLimit) summary.DefaultCodingRatio = m.CodingRatio;
        }
        result.Files.push_back(summary);
    }
    return result;
}

}  // namespace sweep
