#include "carsets/Backup.h"

#include "fs/FileSystem.h"
#include "fs/Mark.h"

namespace carsets {

QList<fs::Path> activeFiles(const fs::Path& carFolder) {
    QList<fs::Path> names = fs::filesEndingIn(carFolder, QStringLiteral(".tex"));
    // A set without a description still has its textures backed up.
    if (fs::isFile(carFolder / "drivers.txt"))
        names.append(fs::Path("drivers.txt"));
    return names;
}

CopyReport backUpActiveCars(const fs::Path& carFolder, const CopyWatch& watch) {
    const fs::Path backup = carFolder / "original";
    const QString unchanged = QStringLiteral("The folder \"original\" was not changed.");
    // Written through, a link would have the backup land on whatever it leads to.
    if (const bool link = fs::isLink(backup); link || (fs::anythingAt(backup) && !fs::isFolder(backup)))
        return refused(
            QStringLiteral("\"%1\" is %2: Tarvok Car Manager backs up only into a folder \"original\" "
                           "inside the car folder, so it wrote nothing. Move the %3 out of the car folder, "
                           "then try again.")
                .arg(fs::displayName(backup),
                     link ? QStringLiteral("a link to another place") : QStringLiteral("a file, not a folder"),
                     link ? QStringLiteral("link") : QStringLiteral("file")),
            unchanged);
    // A first backup is made under a name of the program's own and takes its name only when whole, so one cut
    // short never leaves a half-made "original". A file in its way makes every copy fail, which the report names.
    const QList<fs::Path> names = activeFiles(carFolder);
    QList<fs::Path> read;
    for (const fs::Path& name : names)
        read.append(carFolder / name);
    if (std::optional<CopyReport> outside = linksOutside(carFolder, read, unchanged))
        return *outside;
    const bool first = !fs::anythingAt(backup);
    const fs::Path into = first ? carFolder / kFirstBackupFolder : backup;
    if (first) {
        fs::removeCopiedFolder(into);
        if (fs::anythingAt(into))
            return refused(inTheWayText(into), unchanged);
        if (const fs::Status made = fs::makeOwnFolder(into); !made.ok())
            return cannotMakeFolder(made, unchanged); // makeOwnFolder has taken back what it made
    }
    CopyReport report;
    {
        SetCopy copy(into, watch);
        const std::optional<CopyReport> refusal = copy.refusal(unchanged);
        const QList<SetFiles> files{{carFolder, names}};
        if (!refusal)
            copy.announce(files);
        report = refusal ? *refusal : copy.stage(files) ? copy.place(unchanged) : copy.cancelled();
    }
    if (first && report.placed) {
        if (const fs::Status moved = fs::moveFolder(into, backup); moved.ok()) {
            fs::unmarkFolder(backup);
        } else {
            QList<fs::Blocked> every;
            for (const fs::Path& name : names)
                every.append({name, moved.noRoom() ? fs::Obstacle::NoRoom : fs::Obstacle::Failed});
            report = notPlaced({}, every, unchanged);
        }
    }
    if (first && !report.placed)
        fs::removeCopiedFolder(into);
    return report;
}

} // namespace carsets
