#include "meeting/Track.h"

#include "fs/FileSystem.h"

namespace meeting {

bool isTrackInstalled(const fs::Path& carFolder, const QString& track) {
    const std::optional<fs::Path> trackFile = fs::singleName(track + QStringLiteral(".trk"));
    return fs::singleName(track) && trackFile && fs::isFile(carFolder / ".." / "run" / *trackFile);
}

} // namespace meeting
