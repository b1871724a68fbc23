#pragma once

#include "carsets/Catalogue.h"
#include "carsets/SetCopy.h"

#include <optional>

namespace carsets {

// Whether the game would race with the pack's cars: the car folder's drivers.txt and every texture of the pack,
// each with the same bytes as the pack's. Textures the pack does not have are left over from earlier sets and do
// not count. Every size is compared before any contents, and the first difference ends it; the watch hears of the
// contents as they are read. Nothing when the member gave up first.
std::optional<bool> isActiveSet(const fs::Path& carFolder, const Pack& pack, const CopyWatch& watch);

} // namespace carsets
