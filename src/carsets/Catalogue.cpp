#include "carsets/Catalogue.h"

#include "carsets/Log.h"
#include "carsets/SetFile.h"
#include "fs/FileSystem.h"
#include "text/DriversTxt.h"

#include <QHash>

#include <algorithm>

namespace carsets {

bool mayBePack(const QString& folder) {
    return !folder.startsWith(QLatin1Char('.'));
}

QList<Pack> readCatalogue(const fs::Path& carFolder) {
    const QList<fs::ShownName> folders = fs::subfolders(carFolder);
    const fs::FolderReader cars(carFolder);
    QList<Pack> packs;
    packs.reserve(folders.size());
    for (const fs::ShownName& folder : folders) {
        if (!mayBePack(folder.shown))
            continue;
        // Opening is the test that counts for nearly every pack; only a file that cannot be opened needs
        // the second look that tells it from no file at all.
        const fs::Result<QByteArray> head = cars.readHead(folder.name, kDriversTxt, text::kSetLinesBytes);
        if (!head) {
            const fs::Path driversTxt = carFolder / folder.name / kDriversTxt;
            if (!fs::isFile(driversTxt))
                continue;
            // Listed all the same, with the defaults of a blank file.
            qCWarning(carsetsLog).noquote()
                << QStringLiteral("%1 cannot be read: %2").arg(fs::displayName(driversTxt), head.status().reason());
        }
        const std::optional<text::SetLines> lines = head ? std::optional(text::setLinesOf(*head)) : std::nullopt;
        packs.append({folder.name, folder.shown, text::packDescription(lines), qHash(head.value_or(QByteArray()))});
    }
    return packs;
}

QList<qsizetype> positionsOf(const QList<Pack>& packs, const QStringList& leagueNames) {
    QHash<QByteArray, qsizetype> byName;
    byName.reserve(packs.size());
    for (qsizetype at = 0; at < packs.size(); ++at)
        byName.insert(fs::nameKey(packs.at(at).folder), at);
    QList<qsizetype> positions;
    positions.reserve(leagueNames.size());
    for (const QString& name : leagueNames) {
        const std::optional<fs::Path> folder = fs::singleName(name);
        positions.append(folder ? byName.value(fs::nameKey(*folder), -1) : -1);
    }
    return positions;
}

QStringList catalogueEntries(const QList<Pack>& packs) {
    qsizetype widest = 0;
    for (const Pack& pack : packs)
        widest = std::max(widest, pack.name.size());
    QStringList entries;
    entries.reserve(packs.size());
    for (const Pack& pack : packs) {
        const qsizetype fill = widest - pack.name.size();
        // The filled description loses the spaces at its two ends: at its start only where no fill precedes it.
        QStringView description(pack.description);
        while (description.endsWith(QLatin1Char(' ')))
            description.chop(1);
        while (fill == 0 && description.startsWith(QLatin1Char(' ')))
            description = description.sliced(1);
        QString entry;
        entry.reserve(pack.name.size() + 2 + fill + description.size());
        entry.append(pack.name).append(QLatin1String(" ."));
        for (qsizetype dot = 0; dot < fill; ++dot)
            entry.append(QLatin1Char('.'));
        entries.append(entry.append(description));
    }
    return entries;
}

} // namespace carsets
