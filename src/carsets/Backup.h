#pragma once

#include "carsets/SetCopy.h"

namespace carsets {

// The files of the active car set: its textures, then its drivers.txt where there is one.
QList<fs::Path> activeFiles(const fs::Path& carFolder);

// Copies the active textures, then the active drivers.txt, into the folder "original", adding to what
// earlier backups left there; all together or not at all: one that cannot be read leaves "original" as it was.
CopyReport backUpActiveCars(const fs::Path& carFolder, const CopyWatch& watch);

// The name a first backup's folder has until it is whole.
inline const fs::Path kFirstBackupFolder(".tarvok-original");

} // namespace carsets
