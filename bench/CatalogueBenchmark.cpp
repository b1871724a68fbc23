#include "Benchmarks.h"
#include "Figures.h"
#include "Process.h"

#include "carsets/Catalogue.h"

using namespace carsets;

namespace {

void catalogueBenchmark(benchmark::State& state, BenchData& data, int packs) {
    const QString folder = data.packFolders(packs);
    qsizetype entries = 0;
    const auto build = [&] { entries = catalogueEntries(readCatalogue(fs::fromQt(folder))).size(); };
    // Also warms the page cache for both sides.
    build();
    if (entries != packs || !runShell(kPackHeads, {folder})) {
        failBenchmark(state, "the catalogue did not list every pack");
        return;
    }
    double ours = 0;
    double shell = 0;
    for (auto _ : state) {
        const double seconds = secondsOf(build);
        const std::optional<ProcessCost> heads = runShell(kPackHeads, {folder});
        if (!heads || entries != packs) {
            failBenchmark(state, "a catalogue or its shell counterpart failed");
            return;
        }
        ours += seconds;
        shell += heads->seconds;
        state.SetIterationTime(seconds);
    }
    state.counters["ratio"] = ours / shell;
    state.counters["head_ms"] = shell * 1000 / static_cast<double>(state.iterations());
    recordFigure(Figure::Catalogue, ours / shell);
}

} // namespace

void registerCatalogueBenchmark(BenchData& data, const Scale& scale) {
    measured(benchmark::RegisterBenchmark(
                 "catalogue",
                 [&data, &scale](benchmark::State& state) { catalogueBenchmark(state, data, scale.cataloguePacks); }),
             scale.quickIterations, scale);
}
