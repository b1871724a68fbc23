#include "Benchmarks.h"
#include "Figures.h"
#include "Process.h"

#include <functional>

namespace {

// Starts the program with the packs and then with none, once per iteration, handing each pair to take;
// false, with the benchmark failed, when a start-up fails.
bool pairedStartUps(benchmark::State& state, BenchData& data, const Probe& probe, int packs,
                    const std::function<void(const ProcessCost& loaded, const ProcessCost& empty)>& take) {
    const QString withPacks = data.packFolders(packs);
    const QString withNone = data.packFolders(0);
    for (auto _ : state) {
        const std::optional<ProcessCost> loaded = probe.startUp(withPacks, packs);
        const std::optional<ProcessCost> empty = probe.startUp(withNone, 0);
        if (!loaded || !empty) {
            failBenchmark(state, probe.failure().c_str());
            return false;
        }
        take(*loaded, *empty);
        state.SetIterationTime(loaded->seconds);
    }
    return true;
}

void startupBenchmark(benchmark::State& state, BenchData& data, const Probe& probe, int packs) {
    // One untimed pair first, so neither side pays for loading the program from disk.
    if (!probe.startUp(data.packFolders(packs), packs) || !probe.startUp(data.packFolders(0), 0)) {
        failBenchmark(state, probe.failure().c_str());
        return;
    }
    double with = 0;
    double none = 0;
    if (!pairedStartUps(state, data, probe, packs, [&](const ProcessCost& loaded, const ProcessCost& empty) {
            with += loaded.seconds;
            none += empty.seconds;
        }))
        return;
    const double iterations = static_cast<double>(state.iterations());
    state.counters["ratio"] = with / none;
    state.counters["none_ms"] = none * 1000 / iterations;
    recordFigure(Figure::Startup, with / none);
}

void startupMemoryBenchmark(benchmark::State& state, BenchData& data, const Probe& probe, int packs) {
    qint64 withKiB = 0;
    qint64 noneKiB = 0;
    if (!pairedStartUps(state, data, probe, packs, [&](const ProcessCost& loaded, const ProcessCost& empty) {
            withKiB += loaded.peakRssKiB;
            noneKiB += empty.peakRssKiB;
        }))
        return;
    const double iterations = static_cast<double>(state.iterations());
    const double extraMiB = static_cast<double>(withKiB - noneKiB) / 1024 / iterations;
    state.counters["extra_MiB"] = extraMiB;
    state.counters["none_MiB"] = static_cast<double>(noneKiB) / 1024 / iterations;
    recordFigure(Figure::StartupMemory, extraMiB);
}

} // namespace

void registerStartupBenchmarks(BenchData& data, const Scale& scale, const Probe& probe) {
    measured(benchmark::RegisterBenchmark("startup",
                                          [&data, &scale, probe](benchmark::State& state) {
                                              startupBenchmark(state, data, probe, scale.startupPacks);
                                          }),
             scale.quickIterations, scale);
    measured(benchmark::RegisterBenchmark("startup_memory",
                                          [&data, &scale, probe](benchmark::State& state) {
                                              startupMemoryBenchmark(state, data, probe, scale.memoryPacks);
                                          }),
             scale.memoryIterations, scale);
}
