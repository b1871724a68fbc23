#include "league/PackVersionList.h"

#include "league/LeagueFile.h"
#include "league/Log.h"

namespace league {

PackRelease packReleaseOf(const QString& line) {
    const qsizetype separator = line.indexOf(QLatin1Char('|'));
    if (separator < 0)
        return {QString(), line};
    return {line.left(separator), line.mid(separator + 1)};
}

QList<PackRelease> listedReleases(const text::CountedList& list) {
    QList<PackRelease> releases;
    for (const QString& line : list.listed())
        releases.append(packReleaseOf(line));
    return releases;
}

QStringList packNames(const QList<PackRelease>& releases) {
    QStringList names;
    for (const PackRelease& release : releases)
        names.append(release.pack);
    return names;
}

QString packKey(const QString& name) {
    return name.toUpper();
}

PackLookup lookUpPack(const text::CountedList& list, const QString& pack) {
    PackLookup lookup;
    const QString wanted = packKey(pack);
    const QStringList searched = list.searched();
    for (qsizetype entry = 0; entry < searched.size(); ++entry) {
        const PackRelease release = packReleaseOf(searched[entry]);
        lookup.examinedAny = true;
        lookup.lastDate =
            text::readDate(release.dateText, {leagueLog(), kPackVersionList}, text::CountedList::lineNumber(entry));
        if (lookup.lastDate)
            lookup.lastRealDate = lookup.lastDate;
        if (packKey(release.pack) == wanted) {
            lookup.found = true;
            break;
        }
    }
    return lookup;
}

} // namespace league
