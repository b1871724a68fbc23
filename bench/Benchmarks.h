#pragma once

#include "BenchData.h"
#include "Scale.h"

#include <QString>
#include <QStringList>

#include <benchmark/benchmark.h>

#include <functional>
#include <optional>

// Each registers its benchmarks with Google Benchmark, named as the smoke tests filter them.
void registerCopyBenchmarks(BenchData& data, const Scale& scale);     // "swap", "first_swap", "backup"
void registerCatalogueBenchmark(BenchData& data, const Scale& scale); // "catalogue"
// "startup", "startup_memory": the program is the start-up probe, whose error output goes to errorLog.
void registerStartupBenchmarks(BenchData& data, const Scale& scale, const QString& program, const QString& errorLog);
void registerPackStatusBenchmark(BenchData& data, const Scale& scale); // "pack_status"
void registerReadinessBenchmarks(BenchData& data, const Scale& scale); // "readiness", "differing_set"

// Applies the scale's iterations and repetitions; the benchmarks time themselves.
benchmark::internal::Benchmark* measured(benchmark::internal::Benchmark* benchmark, int iterations, const Scale& scale);

// Alternates the work with a shell script doing the same, once each per iteration, timing the work; the ratio of
// the two times, also as the counter "ratio", with the script's mean in milliseconds as the counter shellCounter.
// Nothing as soon as either fails.
std::optional<double> againstShell(benchmark::State& state, const std::function<bool()>& work, const QString& script,
                                   const QStringList& arguments, const char* shellCounter);
