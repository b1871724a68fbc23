#pragma once

#include "BenchData.h"
#include "Process.h"
#include "Scale.h"

#include <QString>
#include <QStringList>

#include <benchmark/benchmark.h>

#include <functional>
#include <optional>

// Each registers its benchmarks with Google Benchmark, named as the smoke tests filter them.
void registerCopyBenchmarks(BenchData& data, const Scale& scale);     // "swap", "first_swap", "backup"
void registerCatalogueBenchmark(BenchData& data, const Scale& scale); // "catalogue"
void registerStartupBenchmarks(BenchData& data, const Scale& scale, const Probe& probe); // "startup", "startup_memory"
void registerPackStatusBenchmark(BenchData& data, const Scale& scale);                   // "pack_status"
void registerReadinessBenchmarks(BenchData& data, const Scale& scale);                   // "readiness", "differing_set"
// "install_deflated_zip", "install_stored_zip", "install_7z", "install_memory"
void registerInstallBenchmarks(BenchData& data, const Scale& scale, const Probe& probe);

// Applies the scale's iterations and repetitions; the benchmarks time themselves.
benchmark::internal::Benchmark* measured(benchmark::internal::Benchmark* benchmark, int iterations, const Scale& scale);

// Whether the folder holds the textures of a pack of that many and its drivers.txt.
bool holdsCopies(const QString& folder, int textures);

// Alternates the work with a shell script doing the same, once each per iteration, timing the work; the ratio of
// the two times, also as the counter "ratio", with the script's mean in milliseconds as the counter shellCounter.
// Nothing as soon as either fails.
std::optional<double> againstShell(benchmark::State& state, const std::function<bool()>& work, const QString& script,
                                   const QStringList& arguments, const char* shellCounter);
