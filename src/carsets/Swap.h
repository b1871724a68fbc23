#pragma once

#include "carsets/Catalogue.h"
#include "carsets/SetCopy.h"

#include <optional>

namespace carsets {

// What a swap keeps of the cars it replaces: every file as it was before the first swap, in "original", and what
// each swap replaced, with the drivers.txt it replaced, in "previous", itself a pack to swap back in.
inline const fs::KeptSets kSwapKeeps{fs::Path("original"), fs::Path("previous")};

// Makes the pack the active car set: copies its textures and its drivers.txt into the car folder where they
// differ from the active ones, keeping what they replace, all together or not at all: a file of the pack that
// cannot be read, its drivers.txt among them, leaves the cars as they were. Nothing when the pack's folder is not
// there.
std::optional<CopyReport> swapIn(const fs::Path& carFolder, const Pack& pack, const CopyWatch& watch);

} // namespace carsets
