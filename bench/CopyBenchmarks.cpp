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

// The shell's copies of sets of files, each from the folder of one argument into that of the next, alone or made
// durable, as the program makes each of its copies before renaming it into place.
struct ShellCopies {
    QString plain;
    QString synced;
};

ShellCopies shellCopies(int sets) {
    QStringList copies, syncs;
    for (int set = 0; set < sets; ++set) {
        const QString from = QStringLiteral("\"$%1\"").arg(2 * set + 1),
                      to = QStringLiteral("\"$%1\"").arg(2 * set + 2);
        copies << QStringLiteral("cp %1/*.tex %1/drivers.txt %2/").arg(from, to);
        syncs << QStringLiteral("%1/*.tex %1/drivers.txt").arg(to);
    }
    const QString plain = copies.join(QStringLiteral(" && "));
    return {plain, plain + QStringLiteral(" && sync ") + syncs.join(QLatin1Char(' '))};
}

// Times the command, after `before` where there is one, against the shell copying the same files between the
// folders of `arguments`. The disk is flushed after each, so every copy starts from the same state: sources in the
// page cache, nothing dirty.
void measureAgainstShell(benchmark::State& state, const std::function<bool()>& command, const QStringList& arguments,
                         std::optional<Figure> plain, Figure synced, const std::function<void()>& before = {}) {
    const ShellCopies shell = shellCopies(static_cast<int>(arguments.size() / 2));
    double ours = 0;
    double copiedSeconds = 0;
    double syncedSeconds = 0;
    for (auto _ : state) {
        if (before)
            before();
        flushDisks();
        bool done = false;
        const double seconds = secondsOf([&] { done = command(); });
        flushDisks();
        const std::optional<ProcessCost> copied = runShell(shell.plain, arguments);
        flushDisks();
        const std::optional<ProcessCost> copiedSynced = runShell(shell.synced, arguments);
        flushDisks();
        if (!done || !copied || !copiedSynced) {
            failBenchmark(state, "a copy failed");
            return;
        }
        ours += seconds;
        copiedSeconds += copied->seconds;
        syncedSeconds += copiedSynced->seconds;
        state.SetIterationTime(seconds);
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["ratio"] = ours / copiedSeconds;
    state.counters["vs_cp_sync"] = ours / syncedSeconds;
    state.counters["cp_ms"] = copiedSeconds * 1000 / iterations;
    state.counters["cp_sync_ms"] = syncedSeconds * 1000 / iterations;
    if (plain)
        recordFigure(*plain, ours / copiedSeconds);
    recordFigure(synced, ours / syncedSeconds);
}

// A session on the copy folders whose swap swaps in the set the last one replaced, so every swap replaces every
// file.
struct Toggling {
    Toggling(const CopyFolders& copyFolders, const Scale& scale)
        : folders(copyFolders), textures(scale.textures), previous(folders.cars + QStringLiteral("/previous")),
          started(fs::fromQt(folders.cars), site) {}
    bool swap(const QString& pack = QStringLiteral("previous")) {
        started.window.selectedRow = int(started.window.listed.indexOf(QRegularExpression(pack + " \\..*")));
        started.window.currentSet.clear();
        started.session.swapInSelectedPack();
        return started.window.takeBoxes().isEmpty() && !started.window.currentSet.isEmpty();
    }
    // Swaps the pack in, unless an earlier benchmark has, so that "previous" holds a set to swap in.
    bool ready() {
        return (holdsCopies(previous, textures) || swap(folders.pack)) && holdsCopies(folders.cars, textures) &&
               holdsCopies(previous, textures);
    }
    const CopyFolders& folders;
    int textures;
    QString previous;
    CannedSite site;
    StartedSession started;
};

void swapBenchmark(benchmark::State& state, BenchData& data, const Scale& scale) {
    const CopyFolders& folders = data.copyFolders();
    Toggling session(folders, scale);
    // The first round also gives the shell's target its files, so both sides replace existing ones.
    if (!session.ready() || !runShell(shellCopies(1).plain, {session.previous, folders.shellTarget})) {
        failBenchmark(state, "the swap did not copy the pack");
        return;
    }
    measureAgainstShell(
        state, [&] { return session.swap(); }, {session.previous, folders.shellTarget}, Figure::Swap,
        Figure::SwapSynced);
}

// Each a first swap: "original" is made anew, with every active file, before the swap.
void firstSwapBenchmark(benchmark::State& state, BenchData& data, const Scale& scale) {
    const CopyFolders& folders = data.copyFolders();
    Toggling session(folders, scale);
    const QString original = folders.cars + QStringLiteral("/original");
    const QStringList bothSets{folders.cars, folders.shellTarget, session.previous, folders.secondShellTarget()};
    const auto firstSwap = [&] { return session.swap() && holdsCopies(original, scale.textures); };
    if (!session.ready() || !runShell(shellCopies(2).plain, bothSets)) {
        failBenchmark(state, "the swap did not copy the pack");
        return;
    }
    measureAgainstShell(state, firstSwap, bothSets, std::nullopt, Figure::FirstSwapSynced,
                        [&] { QDir(original).removeRecursively(); });
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
        !runShell(shellCopies(1).plain, {folders.cars, folders.shellTarget})) {
        failBenchmark(state, "the backup did not copy the active cars");
        return;
    }
    flushDisks();
    measureAgainstShell(state, backup, {folders.cars, folders.shellTarget}, Figure::Backup, Figure::BackupSynced);
}

} // namespace

void registerCopyBenchmarks(BenchData& data, const Scale& scale) {
    measured(benchmark::RegisterBenchmark(
                 "swap", [&data, &scale](benchmark::State& state) { swapBenchmark(state, data, scale); }),
             scale.copyIterations, scale);
    measured(benchmark::RegisterBenchmark(
                 "first_swap", [&data, &scale](benchmark::State& state) { firstSwapBenchmark(state, data, scale); }),
             scale.copyIterations, scale);
    measured(benchmark::RegisterBenchmark(
                 "backup", [&data, &scale](benchmark::State& state) { backupBenchmark(state, data, scale); }),
             scale.copyIterations, scale);
}
