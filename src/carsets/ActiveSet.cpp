#include "carsets/ActiveSet.h"

#include "carsets/Log.h"
#include "fs/FileSystem.h"

namespace carsets {

namespace {

// The first of the pack's files the car folder does not hold as the pack does, and how; nothing when there is
// none, or when the member gave up.
std::optional<QString> firstDifference(const fs::Path& carFolder, const Pack& pack, const CopyWatch& watch) {
    const fs::Path packFolder = carFolder / pack.folder;
    if (pack.folder.empty() || !fs::isFolder(packFolder))
        return QStringLiteral("%1 is not installed").arg(pack.name);
    const QList<fs::Path> names =
        QList<fs::Path>{fs::Path("drivers.txt")} + fs::filesEndingIn(packFolder, QStringLiteral(".tex"));
    QList<qint64> sizes;
    qint64 total = 0;
    for (const fs::Path& name : names) {
        const fs::Result<qint64> theirs = fs::regularFileSize(packFolder / name);
        const fs::Result<qint64> ours = fs::regularFileSize(carFolder / name);
        const QString shown = fs::displayName(name);
        for (const fs::Path& file : {packFolder / name, carFolder / name})
            if (fs::leadsOutside(carFolder, file))
                return outsideText(file.lexically_relative(carFolder));
        if (!theirs)
            return QStringLiteral("%1's %2 is %3").arg(pack.name, shown, theirs.status().reason());
        if (!ours)
            return QStringLiteral("%1 is %2").arg(shown, ours.status().reason());
        if (*ours != *theirs)
            return QStringLiteral("%1 is %2 bytes, %3's %4").arg(shown).arg(*ours).arg(pack.name).arg(*theirs);
        sizes.append(*ours);
        total += *ours;
    }
    if (watch.starting)
        watch.starting(static_cast<int>(names.size()), total);
    const auto givenUp = [&watch] { return watch.cancelled && watch.cancelled(); };
    for (qsizetype i = 0; i < names.size(); ++i) {
        qint64 reported = 0;
        const fs::Result<bool> same =
            fs::sameContents(carFolder / names[i], packFolder / names[i], sizes[i], [&](qint64 done) {
                if (watch.progress)
                    watch.progress(done - reported, 0);
                reported = done;
                return !givenUp();
            });
        if (givenUp())
            return std::nullopt;
        if (!same)
            return QStringLiteral("%1 cannot be read: %2").arg(fs::displayName(names[i]), same.status().reason());
        if (!*same)
            return QStringLiteral("%1 holds other bytes than %2's").arg(fs::displayName(names[i]), pack.name);
        // The comparison reports whole blocks only; the file's last one is counted here.
        if (watch.progress)
            watch.progress(sizes[i] - reported, 1);
    }
    return std::nullopt;
}

} // namespace

std::optional<bool> isActiveSet(const fs::Path& carFolder, const Pack& pack, const CopyWatch& watch) {
    const std::optional<QString> difference = firstDifference(carFolder, pack, watch);
    if (watch.cancelled && watch.cancelled())
        return std::nullopt;
    if (difference)
        qCInfo(carsetsLog).noquote() << QStringLiteral("the active cars are not %1's: %2").arg(pack.name, *difference);
    else
        qCInfo(carsetsLog).noquote() << QStringLiteral("the active cars are %1's").arg(pack.name);
    return !difference;
}

} // namespace carsets
