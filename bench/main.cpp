#include "BenchData.h"
#include "Benchmarks.h"
#include "Figures.h"
#include "Process.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

struct Options {
    bool smoke = false;
    QString dataFolder = QStringLiteral(TARVOK_BENCH_DATA);
    std::vector<char*> passedOn; // the arguments left for Google Benchmark
};

Options optionsOf(int argc, char** argv) {
    Options options;
    constexpr const char* kData = "--data=";
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--smoke") == 0)
            options.smoke = true;
        else if (std::strncmp(argv[i], kData, std::strlen(kData)) == 0)
            options.dataFolder = QString::fromLocal8Bit(argv[i] + std::strlen(kData));
        else
            options.passedOn.push_back(argv[i]);
    }
    options.passedOn.push_back(nullptr);
    return options;
}

} // namespace

benchmark::internal::Benchmark* measured(benchmark::internal::Benchmark* benchmark, int iterations,
                                         const Scale& scale) {
    return benchmark->Iterations(iterations)
        ->Repetitions(scale.repetitions)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
}

bool holdsCopies(const QString& folder, int textures) {
    const QDir dir(folder);
    return dir.entryList({QStringLiteral("*.tex")}, QDir::Files).size() == textures &&
           dir.exists(QStringLiteral("drivers.txt"));
}

std::optional<double> againstShell(benchmark::State& state, const std::function<bool()>& work, const QString& script,
                                   const QStringList& arguments, const char* shellCounter) {
    double ours = 0;
    double shell = 0;
    for (auto _ : state) {
        bool done = false;
        const double seconds = secondsOf([&] { done = work(); });
        const std::optional<ProcessCost> shellDone = runShell(script, arguments);
        if (!done || !shellDone)
            return std::nullopt;
        ours += seconds;
        shell += shellDone->seconds;
        state.SetIterationTime(seconds);
    }
    state.counters["ratio"] = ours / shell;
    state.counters[shellCounter] = shell * 1000 / static_cast<double>(state.iterations());
    return ours / shell;
}

int main(int argc, char** argv) {
    Options options = optionsOf(argc, argv);
    int qtArgc = 1;
    QCoreApplication app(qtArgc, argv);

    int benchmarkArgc = static_cast<int>(options.passedOn.size()) - 1;
    benchmark::Initialize(&benchmarkArgc, options.passedOn.data());
    if (benchmark::ReportUnrecognizedArguments(benchmarkArgc, options.passedOn.data())) {
        std::fprintf(stderr, "Own options: --smoke (small data, one measurement each), --data=FOLDER\n");
        return 2;
    }

    // Each run makes its data in a folder of its own, so smoke tests may run side by side, and removes it at the end.
    QDir().mkpath(options.dataFolder);
    const QTemporaryDir root(options.dataFolder + QStringLiteral("/run-XXXXXX"));
    if (!root.isValid()) {
        std::fprintf(stderr, "cannot make a folder in %s\n", qPrintable(options.dataFolder));
        return 2;
    }
    const Scale& scale = options.smoke ? kSmokeScale : kFullScale;
    BenchData data(root.path(), scale);
    registerCopyBenchmarks(data, scale);
    registerCatalogueBenchmark(data, scale);
    const Probe probe{QStringLiteral(TARVOK_STARTUP_PROBE), options.dataFolder + QStringLiteral("/startup-probe.log")};
    registerStartupBenchmarks(data, scale, probe);
    registerPackStatusBenchmark(data, scale);
    registerReadinessBenchmarks(data, scale);
    registerInstallBenchmarks(data, scale, probe);

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary(!options.smoke);
    return anyBenchmarkFailed() ? 1 : 0;
}
