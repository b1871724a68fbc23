#include "carsets/Swap.h"

#include "carsets/Backup.h"
#include "carsets/Log.h"
#include "fs/FileSystem.h"

#include <set>

namespace carsets {

namespace {

// Whether the car folder's file holds the pack's bytes already, so that the swap leaves it as it is.
bool alreadyActive(const fs::Path& packFile, const fs::Path& activeFile, const std::function<bool()>& givenUp) {
    const fs::Result<qint64> size = fs::regularFileSize(packFile);
    const fs::Result<qint64> activeSize = fs::regularFileSize(activeFile);
    if (!size || !activeSize || *size != *activeSize)
        return false;
    return fs::sameContents(packFile, activeFile, *size, [&](qint64) { return !givenUp(); }).value_or(false);
}

} // namespace

std::optional<CopyReport> swapIn(const fs::Path& carFolder, const Pack& pack, const CopyWatch& watch) {
    const fs::Path packFolder = carFolder / pack.folder;
    if (pack.folder.empty() || !fs::isFolder(packFolder))
        return std::nullopt;

    const QString unchanged = QStringLiteral("Your cars were not changed.");
    SetCopy copy(carFolder, watch, kSwapKeeps);
    if (std::optional<CopyReport> refused = copy.refusal(unchanged))
        return refused;
    const fs::Path driversTxt("drivers.txt");
    const QList<fs::Path> names = fs::filesEndingIn(packFolder, QStringLiteral(".tex")) + QList{driversTxt};
    // The cars as they were before the first swap are kept whole, unless there are none.
    QList<SetFiles> files;
    const fs::Path original = carFolder / kSwapKeeps.whole;
    if (const QList<fs::Path> active = activeFiles(carFolder); !fs::anythingAt(original) && !active.isEmpty())
        files.append({carFolder, active, fs::Part::Whole});
    else if (fs::anythingAt(original) && (!fs::isFolder(original) || fs::isLink(original)))
        qCWarning(carsetsLog).noquote() << "no copy of the cars as they were is kept:" << fs::displayName(original)
                                        << "is a file or a link, not a folder of the car folder";
    // Every file the swap may read, as the car folder names it: none may lead out of it.
    std::set<fs::Path> active(names.begin(), names.end());
    QList<fs::Path> read;
    for (const fs::Path& name : names)
        read.append(packFolder / name);
    if (!files.isEmpty())
        active.insert(files.first().names.begin(), files.first().names.end());
    for (const fs::Path& name : active)
        read.append(carFolder / name);
    if (std::optional<CopyReport> outside = linksOutside(carFolder, read, unchanged))
        return outside;
    // A file the car folder holds already counts as done.
    copy.announce(files + QList{SetFiles{packFolder, names}});
    const auto givenUp = [&watch] { return watch.cancelled && watch.cancelled(); };
    QList<fs::Path> changing;
    for (const fs::Path& name : names)
        if (!alreadyActive(packFolder / name, carFolder / name, givenUp))
            changing.append(name);
        else if (watch.progress)
            watch.progress(fs::sizeOf(packFolder / name), 1);
    if (givenUp())
        return copy.cancelled();
    if (changing.isEmpty()) {
        qCInfo(carsetsLog).noquote() << "the active cars are" << pack.name << "already: nothing was changed";
        return CopyReport{false, true, {}, {}, {}};
    }
    files.append({packFolder, changing});
    // Kept with what it replaces, the set's description makes of "previous" a pack. A link is kept as what it leads
    // to, which a link moved one folder deeper would no longer reach.
    QList<fs::Path> copied;
    for (const fs::Path& name : changing)
        if (fs::isLink(carFolder / name) && fs::isFile(carFolder / name))
            copied.append(name);
    if (!changing.contains(driversTxt) && fs::isFile(carFolder / driversTxt))
        copied.append(driversTxt);
    if (!copied.isEmpty())
        files.append({carFolder, copied, fs::Part::Replaced});
    return copy.stage(files) ? copy.place(unchanged) : copy.cancelled();
}

} // namespace carsets
