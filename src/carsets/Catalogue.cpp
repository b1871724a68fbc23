#include "carsets/Catalogue.h"

#include "carsets/Backup.h"
#include "carsets/Log.h"
#include "carsets/SetFile.h"
#include "fs/FileSystem.h"
#include "fs/StagedCopy.h"

#include <algorithm>

namespace carsets {

namespace {

QString withoutOuterSpaces(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

} // namespace

QList<Pack> readCatalogue(const fs::Path& carFolder) {
    const QList<fs::Path> folders = fs::subfolders(carFolder);
    QList<Pack> packs;
    packs.reserve(folders.size());
    for (const fs::Path& folder : folders) {
        // The program's own folders hold files on their way in, never a pack.
        if (fs::isWorkFolderName(folder) || folder == kFirstBackupFolder)
            continue;
        const fs::Path driversTxt = carFolder / folder / "drivers.txt";
        // Opening is the test that counts for nearly every pack; only a file that cannot be opened needs
        // the second look that tells it from no file at all.
        const fs::Result<text::SetLines> lines = readSetFile(driversTxt);
        if (!lines) {
            if (!fs::isFile(driversTxt))
                continue;
            // Listed all the same, with the defaults of a blank file.
            qCWarning(carsetsLog).noquote()
                << QStringLiteral("%1 cannot be read: %2").arg(fs::displayName(driversTxt), lines.status().reason());
        }
        packs.append({folder, fs::displayName(folder), text::packDescription(lines.asOptional())});
    }
    return packs;
}

QStringList catalogueEntries(const QList<Pack>& packs) {
    qsizetype widest = 0;
    for (const Pack& pack : packs)
        widest = std::max(widest, pack.name.size());
    QStringList entries;
    entries.reserve(packs.size());
    for (const Pack& pack : packs) {
        const QString fill(widest - pack.name.size(), QLatin1Char('.'));
        entries.append(pack.name + QStringLiteral(" .") + withoutOuterSpaces(fill + pack.description));
    }
    return entries;
}

} // namespace carsets
