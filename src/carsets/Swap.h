#pragma once

#include "carsets/Catalogue.h"
#include "carsets/SetCopy.h"

#include <optional>

namespace carsets {

// Makes the pack the active car set: copies its textures and its drivers.txt into the car folder, replacing
// files of the same names, all together or not at all: a file of the pack that cannot be read, its drivers.txt
// among them, leaves the cars as they were. Nothing when the pack's folder is not there.
std::optional<CopyReport> swapIn(const fs::Path& carFolder, const Pack& pack, const CopyWatch& watch);

} // namespace carsets
