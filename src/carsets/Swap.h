#pragma once

#include "carsets/Catalogue.h"
#include "carsets/SetCopy.h"

#include <optional>

namespace carsets {

// Makes the pack the active car set: copies its textures, then its drivers.txt, into the car folder,
// replacing files of the same names, all together or not at all. Nothing when the pack's folder is not
// there. drivers.txt stays as it was when a texture could not be copied, so it never describes cars that
// are not all there.
std::optional<CopyReport> swapIn(const fs::Path& carFolder, const Pack& pack, const CopyWatch& watch);

} // namespace carsets
