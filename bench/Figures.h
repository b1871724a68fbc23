#pragma once

#include <benchmark/benchmark.h>

// The figures the benchmarks report, each a ratio of two times measured in the same run except the memories,
// which are differences of two peaks in MiB, and the time a differing set takes to be told, in milliseconds.
enum class Figure {
    Swap,
    SwapSynced,
    FirstSwapSynced,
    Backup,
    BackupSynced,
    Catalogue,
    Startup,
    StartupMemory,
    PackStatus,
    Readiness,
    DifferingSetMs,
    InstallDeflatedZip,
    InstallStoredZip,
    Install7z,
    InstallMemory,
};

// Keeps one repetition's value for the summary.
void recordFigure(Figure figure, double value);

// Ends the benchmark with the reason and makes the whole run fail.
void failBenchmark(benchmark::State& state, const char* reason);
bool anyBenchmarkFailed();

// Prints every figure recorded, its target, its median and each repetition's value.
void printSummary(bool judgeTargets);
