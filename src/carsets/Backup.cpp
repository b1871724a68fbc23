#include "carsets/Backup.h"

namespace carsets {

CopyReport backUpActiveCars(const fs::Path& carFolder, const CopyWatch& watch) {
    // "original" is usually there from an earlier backup; a file in its way makes every copy fail, which
    // the report then names.
    const fs::Path backup = carFolder / "original";
    fs::createFolder(backup);
    QList<fs::Path> names = fs::filesEndingIn(carFolder, QStringLiteral(".tex"));
    // A set without a description still has its textures backed up.
    if (fs::isFile(carFolder / "drivers.txt"))
        names.append(fs::Path("drivers.txt"));
    announce(watch, carFolder, names);
    return {copyEach(carFolder, names, backup, watch.progress), {}};
}

} // namespace carsets
