#include "meeting/Track.h"

#include "fs/FileSystem.h"
#include "meeting/Log.h"

namespace meeting {

std::optional<fs::Path> trackFileName(const QString& track) {
    return fs::singleName(track) ? fs::singleName(track + QStringLiteral(".trk")) : std::nullopt;
}

bool isTrackInstalled(const fs::Path& carFolder, const QString& track) {
    const fs::Path trackFolder = carFolder / ".." / "run";
    const std::optional<fs::Path> trackFile = trackFileName(track);
    const bool installed = trackFile && fs::isFile(trackFolder / *trackFile);
    if (!installed)
        qCInfo(meetingLog).noquote() << QStringLiteral("track \"%1\" not installed: no file \"%1.trk\" in %2")
                                            .arg(track, fs::displayName(trackFolder));
    return installed;
}

} // namespace meeting
