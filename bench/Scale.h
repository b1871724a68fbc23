#pragma once

#include <QtGlobal>

// How much data each benchmark works on and how often it measures: the full figures, or the smoke run that
// only proves every benchmark still works.
struct Scale {
    int textures;         // textures in the pack that is swapped and backed up
    qint64 textureBytes;  // size of each
    qint64 comparedBytes; // size of each texture of the set the readiness check compares with the pack's
    int cataloguePacks;   // skinpack folders the catalogue is built over
    int startupPacks;     // skinpacks of the timed start-up
    int memoryPacks;      // skinpacks of the start-up whose peak memory is measured
    int listedPacks;      // entries of the pack version list, each an installed pack
    int copyIterations;   // measurements per repetition of the swap and the backup
    int quickIterations;  // of the catalogue, the start-up and the pack status check
    int memoryIterations; // of the peak memory
    int repetitions;
};

inline constexpr Scale kFullScale{40, 5 * 1024 * 1024, 16 * 1024 * 1024, 10'000, 1'000, 10'000, 1'000, 5, 10, 3, 3};
inline constexpr Scale kSmokeScale{3, 64 * 1024, 64 * 1024, 50, 20, 50, 20, 1, 1, 1, 1};
