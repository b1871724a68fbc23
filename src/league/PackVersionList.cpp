#include "league/PackVersionList.h"

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

PackLookup lookUpPack(const text::CountedList& list, const QString& pack) {
    PackLookup lookup;
    const QString wanted = pack.toUpper();
    for (const QString& line : list.searched()) {
        const PackRelease release = packReleaseOf(line);
        lookup.examinedAny = true;
        lookup.lastDate = text::toDate(release.dateText);
        if (lookup.lastDate)
            lookup.lastRealDate = lookup.lastDate;
        if (release.pack.toUpper() == wanted) {
            lookup.found = true;
            break;
        }
    }
    return lookup;
}

} // namespace league
