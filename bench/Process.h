#pragma once

#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>
#include <string>
#include <utility>

// What one child process cost, measured by its parent.
struct ProcessCost {
    double seconds = 0;    // from just before it starts to just after it has exited
    qint64 peakRssKiB = 0; // its largest resident set, which Linux counts from the peak of the process that started it
};

// Runs the program with its arguments, its environment being ours plus the given "NAME=value" entries, its
// output thrown away and its error output in errorLog when one is named. Nothing when it cannot start
// or does not exit with status 0.
std::optional<ProcessCost> runProcess(const QString& program, const QStringList& arguments,
                                      const QStringList& environment = {}, const QString& errorLog = {});

// Runs a command line through /bin/sh, with the arguments as its $1, $2 ...
std::optional<ProcessCost> runShell(const QString& script, const QStringList& arguments);

// What the catalogue and the pack check read of every pack, read by the shell tools: runShell(kPackHeads, {folder}).
inline const QString kPackHeads = QStringLiteral("cd \"$1\" && head -q -n 5 */drivers.txt > /dev/null");

// The start-up probe: the program run up to its window's first paint, on a car folder whose list must then hold
// `packs`; with an archive named, the window installs it before the probe ends. Its error output goes to errorLog,
// which so holds what the last one wrote; its peak is its own, as it tells it there where the system lets it.
struct Probe {
    QString program;
    QString errorLog;

    std::optional<ProcessCost> startUp(const QString& cars, int packs, const QString& archive = {}) const;
    std::string failure() const { return "the start-up failed; its output is in " + errorLog.toStdString(); }
};

// Writes every dirty page to disk, so no measurement pays for the writes of the one before.
void flushDisks();

// Wall time of one call.
template <typename Work> double secondsOf(Work&& work) {
    const auto start = std::chrono::steady_clock::now();
    std::forward<Work>(work)();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
