#pragma once

#include "fs/Path.h"
#include "fs/Status.h"
#include "text/DriversTxt.h"

namespace carsets {

// Reads what the drivers.txt at path says; nothing when it is not a regular file that can be read.
fs::Result<text::SetLines> readSetFile(const fs::Path& driversTxt);

} // namespace carsets
