#include "Figures.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <vector>

namespace {

struct FigureInfo {
    Figure figure;
    const char* label;
    std::optional<double> target; // highest value that meets the target; none for figures shown for context
};

const FigureInfo kFigures[] = {
    // The program syncs every file it places, so its copies are set against cp made as durable.
    {Figure::SwapSynced, "1 swap / cp + sync of the copies", 1.1},
    {Figure::Swap, "  swap / cp alone", std::nullopt},
    {Figure::FirstSwapSynced, "1 first swap / cp of both sets + sync", 1.1},
    {Figure::BackupSynced, "2 backup / cp + sync of the copies", 1.1},
    {Figure::Backup, "  backup / cp alone", std::nullopt},
    {Figure::Catalogue, "3 catalogue / head", 1.3},
    {Figure::Startup, "4 start-up with packs / with none", 1.2},
    {Figure::StartupMemory, "4 peak memory with packs - with none, MiB", 20.0},
    {Figure::PackStatus, "5 pack status / fetch + head", 1.3},
    {Figure::Readiness, "6 readiness comparison / cmp", 1.2},
    {Figure::DifferingSetMs, "6 a differing set told, ms", 5.0},
    {Figure::InstallDeflatedZip, "7 install from zip (deflated) / bsdtar + sync", 1.1},
    {Figure::InstallStoredZip, "7 install from zip (stored) / bsdtar + sync", 1.1},
    {Figure::Install7z, "7 install from 7z / bsdtar + sync", 1.1},
    {Figure::InstallMemory, "7 peak memory installing - idle window, MiB", 64.0},
};

std::map<Figure, std::vector<double>>& recorded() {
    static std::map<Figure, std::vector<double>> values;
    return values;
}

bool& failed() {
    static bool any = false;
    return any;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

void recordFigure(Figure figure, double value) {
    recorded()[figure].push_back(value);
}

void failBenchmark(benchmark::State& state, const char* reason) {
    state.SkipWithError(reason);
    failed() = true;
}

bool anyBenchmarkFailed() {
    return failed();
}

void printSummary(bool judgeTargets) {
    std::printf("\n%-46s %8s %8s  %s\n", "figure", "target", "median", "each repetition");
    for (const FigureInfo& info : kFigures) {
        const auto found = recorded().find(info.figure);
        if (found == recorded().end())
            continue;
        const double middle = median(found->second);
        char target[16] = "";
        if (info.target)
            std::snprintf(target, sizeof target, "<= %.1f", *info.target);
        std::printf("%-46s %8s %8.2f ", info.label, target, middle);
        for (const double value : found->second)
            std::printf(" %.2f", value);
        if (judgeTargets && info.target)
            std::printf("  %s", middle <= *info.target ? "met" : "MISSED");
        std::printf("\n");
    }
}
