#pragma once

#include "carsets/Copies.h"

namespace carsets {

// Copies the active textures, then the active drivers.txt, into the folder "original", which it makes
// when needed, adding to what earlier backups left there.
CopyReport backUpActiveCars(const fs::Path& carFolder, const CopyWatch& watch);

} // namespace carsets
