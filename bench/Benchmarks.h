#pragma once

#include "BenchData.h"
#include "Scale.h"

#include <QString>

#include <benchmark/benchmark.h>

// Each registers its benchmarks with Google Benchmark, named as the smoke tests filter them.
void registerCopyBenchmarks(BenchData& data, const Scale& scale);     // "swap", "backup"
void registerCatalogueBenchmark(BenchData& data, const Scale& scale); // "catalogue"
// "startup", "startup_memory": the program is the start-up probe, whose error output goes to errorLog.
void registerStartupBenchmarks(BenchData& data, const Scale& scale, const QString& program, const QString& errorLog);
void registerPackStatusBenchmark(BenchData& data, const Scale& scale); // "pack_status"
void registerReadinessBenchmarks(BenchData& data, const Scale& scale); // "readiness", "differing_set"

// Applies the scale's iterations and repetitions; the benchmarks time themselves.
benchmark::internal::Benchmark* measured(benchmark::internal::Benchmark* benchmark, int iterations, const Scale& scale);
