#pragma once

#include "fs/Path.h"

#include <QString>

#include <optional>

namespace meeting {

// The name of the track's file: the name as the list spells it with ".trk" added, or nothing when the name is no
// single file name and so names no track.
std::optional<fs::Path> trackFileName(const QString& track);

// Whether the game's track folder, "run" beside the car folder, holds the track's file.
bool isTrackInstalled(const fs::Path& carFolder, const QString& track);

} // namespace meeting
