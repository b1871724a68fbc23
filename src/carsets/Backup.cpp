#include "carsets/Backup.h"

#include "fs/FileSystem.h"

namespace carsets {

CopyReport backUpActiveCars(const fs::Path& carFolder, const CopyWatch& watch) {
    const fs::Path backup = carFolder / "original";
    // A first backup is made under a name of the program's own and takes its name only when whole, so one cut
    // short never leaves a half-made "original". A file in its way makes every copy fail, which the report names.
    const bool first = !fs::anythingAt(backup);
    const fs::Path into = first ? carFolder / kFirstBackupFolder : backup;
    if (first)
        fs::createFolder(into);
    QList<fs::Path> names = fs::filesEndingIn(carFolder, QStringLiteral(".tex"));
    // A set without a description still has its textures backed up.
    if (fs::isFile(carFolder / "drivers.txt"))
        names.append(fs::Path("drivers.txt"));
    const QString unchanged = QStringLiteral("The folder \"original\" was not changed.");
    CopyReport report;
    {
        SetCopy copy(into, watch);
        copy.announce(carFolder, names);
        report = copy.stage(carFolder, names) ? copy.place(unchanged) : copy.cancelled();
    }
    if (first && report.placed && !fs::moveFolder(into, backup).ok()) {
        QList<fs::Blocked> every;
        for (const fs::Path& name : names)
            every.append({name, fs::Obstacle::Failed});
        report = notPlaced({}, every, unchanged);
    }
    if (first && !report.placed)
        fs::removeCopiedFolder(into);
    return report;
}

} // namespace carsets
