#include "Benchmarks.h"
#include "Figures.h"
#include "Process.h"

#include "carsets/Catalogue.h"

using namespace carsets;

namespace {

void catalogueBenchmark(benchmark::State& state, BenchData& data, int packs) {
    const QString folder = data.packFolders(packs);
    const auto build = [&] { return catalogueEntries(readCatalogue(fs::fromQt(folder))).size() == packs; };
    // Also warms the page cache for both sides.
    if (!build() || !runShell(kPackHeads, {folder})) {
        failBenchmark(state, "the catalogue did not list every pack");
        return;
    }
    if (const std::optional<double> ratio = againstShell(state, build, kPackHeads, {folder}, "head_ms"))
        recordFigure(Figure::Catalogue, *ratio);
    else
        failBenchmark(state, "a catalogue or its shell counterpart failed");
}

} // namespace

void registerCatalogueBenchmark(BenchData& data, const Scale& scale) {
    measured(benchmark::RegisterBenchmark(
                 "catalogue",
                 [&data, &scale](benchmark::State& state) { catalogueBenchmark(state, data, scale.cataloguePacks); }),
             scale.quickIterations, scale);
}
