#include "carsets/InstalledPacks.h"

#include "carsets/Catalogue.h"
#include "carsets/Log.h"
#include "carsets/SetFile.h"
#include "fs/FileSystem.h"

namespace carsets {

InstalledPacks findInstalledPacks(const fs::Path& carFolder, const QStringList& leagueNames) {
    InstalledPacks installed;
    // Each read looks up only the names below the car folder, as the catalogue's do.
    const fs::FolderReader cars(carFolder);
    for (const QString& name : leagueNames) {
        const std::optional<fs::Path> folder = fs::singleName(name);
        // Only a pack of the list is installed: never a hidden folder, the program's own among them.
        if (installed.contains(name) || !folder || !mayBePack(name))
            continue;
        // A drivers.txt that can be read proves its folder; only the others need a look at the folder.
        const fs::Result<text::SetLines> lines = readSetFile(cars, *folder);
        if (lines || fs::isFolder(carFolder / *folder))
            installed.insert(name,
                             text::releaseDate(lines.asOptional(),
                                               {carsetsLog(), fs::displayName(carFolder / *folder / kDriversTxt)}));
    }
    return installed;
}

std::optional<QDateTime> installedRelease(const InstalledPacks& installed, const QString& leagueName) {
    const auto found = installed.constFind(leagueName);
    return found == installed.constEnd() ? std::nullopt : std::optional(found.value());
}

} // namespace carsets
