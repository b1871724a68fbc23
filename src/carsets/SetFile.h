#pragma once

#include "fs/FileSystem.h"
#include "fs/Path.h"
#include "fs/Status.h"
#include "text/DriversTxt.h"

namespace carsets {

// The file that names and dates a set, in the car folder and in each pack.
inline const fs::Path kDriversTxt("drivers.txt");

// Reads what the drivers.txt at path says; nothing when it is not a regular file that can be read.
fs::Result<text::SetLines> readSetFile(const fs::Path& driversTxt);
// The same for the drivers.txt of a pack folder below the folder the reader holds.
fs::Result<text::SetLines> readSetFile(const fs::FolderReader& folder, const fs::Path& pack);

} // namespace carsets
