#include "Benchmarks.h"
#include "Figures.h"
#include "Process.h"

#include "support/Recorder.h"

#include <QDir>
#include <QRegularExpression>

#include <functional>

using namespace carsets;
using namespace league;
using namespace meeting;
using namespace session;

namespace {

const QString kShellCopy = QStringLiteral("cp \"$1\"/*.tex \"$1\"/drivers.txt \"$2\"/");
// The same copies made durable, as the program makes each of its copies before renaming it into place.
const QString kShellCopySynced = kShellCopy + QStringLiteral(" && sync \"$2\"/*.tex \"$2\"/drivers.txt");

bool holdsCopies(const QString& folder, int textures) {
    const QDir dir(folder);
    return dir.entryList({QStringLiteral("*.tex")}, QDir::Files).size() == textures &&
           dir.exists(QStringLiteral("drivers.txt"));
}

// Times the command against the shell copying the same files from the same folder. The disk is flushed
// after each, so every copy starts from the same state: sources in the page cache, nothing dirty.
void measureAgainstShell(benchmark::State& state, const std::function<bool()>& command, const QString& source,
                         const QString& shellTarget, Figure plain, Figure synced) {
    double ours = 0;
    double shell = 0;
    double shellSynced = 0;
    for (auto _ : state) {
        bool done = false;
        const double seconds = secondsOf([&] { done = command(); });
        flushDisks();
        const std::optional<ProcessCost> copied = runShell(kShellCopy, {source, shellTarget});
        flushDisks();
        const std::optional<ProcessCost> copiedSynced = runShell(kShellCopySynced, {source, shellTarget});
        flushDisks();
        if (!done || !copied || !copiedSynced) {
            failBenchmark(state, "a copy failed");
            return;
        }
        ours += seconds;
        shell += copied->seconds;
        shellSynced += copiedSynced->seconds;
        state.SetIterationTime(seconds);
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["ratio"] = ours / shell;
    state.counters["vs_cp_sync"] = ours / shellSynced;
    state.counters["cp_ms"] = shell * 1000 / iterations;
    state.counters["cp_sync_ms"] = shellSynced * 1000 / iterations;
    recordFigure(plain, ours / shell);
    recordFigure(synced, ours / shellSynced);
}

void swapBenchmark(benchmark::State& state, BenchData& data, const Scale& scale) {
    const CopyFolders& folders = data.copyFolders();
    CannedSite site;
    StartedSession started(fs::fromQt(folders.cars), site);
    started.window.selectedRow = int(started.window.listed.indexOf(QRegularExpression(folders.pack + " \\..*")));
    const auto swap = [&] {
        started.window.currentSet.clear();
        started.session.swapInSelectedPack();
        return started.window.takeBoxes().isEmpty() && !started.window.currentSet.isEmpty();
    };
    // The first round also gives the shell's target its files, so both sides replace existing ones.
    if (!swap() || !holdsCopies(folders.cars, scale.textures) ||
        !runShell(kShellCopy, {folders.cars + QLatin1Char('/') + folders.pack, folders.shellTarget})) {
        failBenchmark(state, "the swap did not copy the pack");
        return;
    }
    flushDisks();
    measureAgainstShell(state, swap, folders.cars + QLatin1Char('/') + folders.pack, folders.shellTarget, Figure::Swap,
                        Figure::SwapSynced);
}

void backupBenchmark(benchmark::State& state, BenchData& data, const Scale& scale) {
    const CopyFolders& folders = data.copyFolders();
    CannedSite site;
    StartedSession started(fs::fromQt(folders.cars), site);
    const auto backup = [&] {
        started.window.answers = {true};
        started.session.backUpActiveCars();
        return started.window.takeBoxes().size() == 1;
    };
    if (!backup() || !holdsCopies(folders.cars + QStringLiteral("/original"), scale.textures) ||
        !runShell(kShellCopy, {folders.cars, folders.shellTarget})) {
        failBenchmark(state, "the backup did not copy the active cars");
        return;
    }
    flushDisks();
    measureAgainstShell(state, backup, folders.cars, folders.shellTarget, Figure::Backup, Figure::BackupSynced);
}

} // namespace

void registerCopyBenchmarks(BenchData& data, const Scale& scale) {
    measured(benchmark::RegisterBenchmark(
                 "swap", [&data, &scale](benchmark::State& state) { swapBenchmark(state, data, scale); }),
             scale.copyIterations, scale);
    measured(benchmark::RegisterBenchmark(
                 "backup", [&data, &scale](benchmark::State& state) { backupBenchmark(state, data, scale); }),
             scale.copyIterations, scale);
}
