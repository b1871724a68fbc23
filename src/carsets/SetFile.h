#pragma once

#include "fs/Path.h"
#include "text/DriversTxt.h"

namespace carsets {

// Reads what the drivers.txt at path says; nothing when it is not a regular file that can be read.
std::optional<text::SetLines> readSetFile(const fs::Path& driversTxt);

} // namespace carsets
