#pragma once

#include "fs/Path.h"

#include <QString>

namespace meeting {

// Whether the game's track folder, "run" beside the car folder, holds the track's file, named as the
// list spells it with ".trk" added. A name that is no single file name names no track.
bool isTrackInstalled(const fs::Path& carFolder, const QString& track);

} // namespace meeting
