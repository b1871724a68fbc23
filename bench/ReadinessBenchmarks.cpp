#include "Benchmarks.h"
#include "Figures.h"
#include "Process.h"

#include "carsets/ActiveSet.h"

using namespace carsets;

namespace {

// What the comparison reads, compared by cmp: each of the pack's files against the car folder's of that name.
const QString kShellCompare =
    QStringLiteral("for f in \"$1\"/*.tex \"$1\"/drivers.txt; do cmp -s \"$f\" \"$2/${f##*/}\" || exit 1; done");

// The active cars against the pack they are: every byte of both read, against cmp reading the same pairs.
void readinessBenchmark(benchmark::State& state, BenchData& data) {
    const CopyFolders& folders = data.readinessFolders();
    const Pack pack{fs::fromQt(folders.pack), folders.pack, {}};
    const QString packFolder = folders.cars + QLatin1Char('/') + folders.pack;
    const auto compare = [&] { return isActiveSet(fs::fromQt(folders.cars), pack, {}) == true; };
    // Also warms the page cache for both sides.
    if (!compare() || !runShell(kShellCompare, {packFolder, folders.cars})) {
        failBenchmark(state, "the set was not found to be the pack's");
        return;
    }
    if (const std::optional<double> ratio =
            againstShell(state, compare, kShellCompare, {packFolder, folders.cars}, "cmp_ms"))
        recordFigure(Figure::Readiness, *ratio);
    else
        failBenchmark(state, "a comparison or cmp failed");
}

// A pack whose first texture differs in size from the active one: told from the sizes alone.
void differingSetBenchmark(benchmark::State& state, BenchData& data) {
    const CopyFolders& folders = data.readinessFolders();
    const Pack other{fs::Path("Other"), QStringLiteral("Other"), {}};
    double seconds = 0;
    for (auto _ : state) {
        bool differs = false;
        const double once = secondsOf([&] { differs = isActiveSet(fs::fromQt(folders.cars), other, {}) == false; });
        if (!differs) {
            failBenchmark(state, "the differing set was taken for the pack's");
            return;
        }
        seconds += once;
        state.SetIterationTime(once);
    }
    recordFigure(Figure::DifferingSetMs, seconds * 1000 / static_cast<double>(state.iterations()));
}

} // namespace

void registerReadinessBenchmarks(BenchData& data, const Scale& scale) {
    measured(benchmark::RegisterBenchmark("readiness",
                                          [&data](benchmark::State& state) { readinessBenchmark(state, data); }),
             scale.quickIterations, scale);
    measured(benchmark::RegisterBenchmark("differing_set",
                                          [&data](benchmark::State& state) { differingSetBenchmark(state, data); }),
             scale.quickIterations, scale);
}
