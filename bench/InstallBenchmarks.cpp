#include "Benchmarks.h"
#include "Figures.h"
#include "Process.h"

#include "support/Recorder.h"

#include <QList>

#include <algorithm>
#include <string>

namespace {

struct InstallKind {
    const char* benchmark;
    ArchiveKind archive;
    Figure figure;
};

const InstallKind kKinds[] = {
    {"install_deflated_zip", {"zip", "zip:compression=deflate", "deflated.zip"}, Figure::InstallDeflatedZip},
    {"install_stored_zip", {"zip", "zip:compression=store", "stored.zip"}, Figure::InstallStoredZip},
    {"install_7z", {"7zip", "7zip:compression=lzma2", "lzma2.7z"}, Figure::Install7z},
};

// The archive unpacked by bsdtar, then its files and folders made as durable as the program makes the pack's.
const QString kBsdtar =
    QStringLiteral("bsdtar -xf \"$1\" -C \"$2\" && sync \"$2\"/%1/* \"$2\"/%1 \"$2\"").arg(BenchData::kArchivedPack);

// The seconds of one install through the session's command, into a fresh car folder made, and with the session
// started, before the timing; nothing unless it installed the pack whole and told so.
std::optional<double> installOnce(BenchData& data, const Scale& scale, const QString& archive) {
    const QString cars = data.freshCarFolder(QStringLiteral("install"));
    CannedSite site;
    StartedSession started(fs::fromQt(cars), site);
    flushDisks();
    const double seconds = secondsOf([&] { started.session.installArchives({archive}); });
    const QStringList boxes = started.window.takeBoxes();
    const bool told = boxes.size() == 1 && boxes[0].contains('"' + BenchData::kArchivedPack + "\" is installed: ");
    if (!told || !holdsCopies(cars + QLatin1Char('/') + BenchData::kArchivedPack, scale.textures))
        return std::nullopt;
    return seconds;
}

std::optional<double> bsdtarOnce(BenchData& data, const Scale& scale, const QString& archive) {
    const QString target = data.freshFolder(QStringLiteral("bsdtar"));
    flushDisks();
    const std::optional<ProcessCost> unpacked = runShell(kBsdtar, {archive, target});
    if (!unpacked || !holdsCopies(target + QLatin1Char('/') + BenchData::kArchivedPack, scale.textures))
        return std::nullopt;
    return unpacked->seconds;
}

void installBenchmark(benchmark::State& state, BenchData& data, const Scale& scale, const InstallKind& kind) {
    const QString archive = data.packArchive(kind.archive);
    // One round untimed, so both sides find the archive in the page cache.
    if (!installOnce(data, scale, archive) || !bsdtarOnce(data, scale, archive)) {
        failBenchmark(state, "the install or bsdtar did not unpack the pack");
        return;
    }
    double ours = 0;
    double shell = 0;
    for (auto _ : state) {
        const std::optional<double> installed = installOnce(data, scale, archive);
        const std::optional<double> unpacked = bsdtarOnce(data, scale, archive);
        if (!installed || !unpacked) {
            failBenchmark(state, "an install or bsdtar failed");
            return;
        }
        ours += *installed;
        shell += *unpacked;
        state.SetIterationTime(*installed);
    }
    state.counters["ratio"] = ours / shell;
    state.counters["bsdtar_sync_ms"] = shell * 1000 / static_cast<double>(state.iterations());
    recordFigure(kind.figure, ours / shell);
}

// The window started on a fresh car folder and left idle, against the same installing each kind's archive; the
// figure is the kind that costs the most.
void installMemoryBenchmark(benchmark::State& state, BenchData& data, const Probe& probe) {
    QStringList archives;
    for (const InstallKind& kind : kKinds)
        archives << data.packArchive(kind.archive);
    qint64 idleKiB = 0;
    QList<qint64> installingKiB(archives.size(), 0);
    for (auto _ : state) {
        const std::optional<ProcessCost> idle = probe.startUp(data.freshCarFolder(QStringLiteral("install")), 0);
        if (!idle) {
            failBenchmark(state, probe.failure().c_str());
            return;
        }
        idleKiB += idle->peakRssKiB;
        double seconds = 0;
        for (qsizetype at = 0; at < archives.size(); ++at) {
            const std::optional<ProcessCost> installing =
                probe.startUp(data.freshCarFolder(QStringLiteral("install")), 1, archives[at]);
            if (!installing) {
                failBenchmark(state, probe.failure().c_str());
                return;
            }
            installingKiB[at] += installing->peakRssKiB;
            seconds += installing->seconds;
        }
        state.SetIterationTime(seconds);
    }
    const double iterations = static_cast<double>(state.iterations());
    const auto extraMiB = [&](qint64 kiB) { return static_cast<double>(kiB - idleKiB) / 1024 / iterations; };
    for (qsizetype at = 0; at < archives.size(); ++at)
        state.counters[std::string(kKinds[at].archive.file) + "_extra_MiB"] = extraMiB(installingKiB[at]);
    state.counters["idle_MiB"] = static_cast<double>(idleKiB) / 1024 / iterations;
    recordFigure(Figure::InstallMemory, extraMiB(*std::max_element(installingKiB.cbegin(), installingKiB.cend())));
}

} // namespace

void registerInstallBenchmarks(BenchData& data, const Scale& scale, const Probe& probe) {
    for (const InstallKind& kind : kKinds)
        measured(benchmark::RegisterBenchmark(
                     kind.benchmark,
                     [&data, &scale, &kind](benchmark::State& state) { installBenchmark(state, data, scale, kind); }),
                 scale.copyIterations, scale);
    measured(
        benchmark::RegisterBenchmark(
            "install_memory", [&data, probe](benchmark::State& state) { installMemoryBenchmark(state, data, probe); }),
        scale.memoryIterations, scale);
}
