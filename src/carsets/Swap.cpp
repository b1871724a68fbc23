#include "carsets/Swap.h"

#include "fs/FileSystem.h"

namespace carsets {

std::optional<CopyReport> swapIn(const fs::Path& carFolder, const Pack& pack, const CopyWatch& watch) {
    const fs::Path packFolder = carFolder / pack.folder;
    if (pack.folder.empty() || !fs::isFolder(packFolder))
        return std::nullopt;

    const QList<fs::Path> names =
        fs::filesEndingIn(packFolder, QStringLiteral(".tex")) + QList{fs::Path("drivers.txt")};
    const QString unchanged = QStringLiteral("Your cars were not changed.");
    SetCopy copy(carFolder, watch);
    if (std::optional<CopyReport> refused = copy.refusal(unchanged))
        return refused;
    copy.announce(packFolder, names);
    return copy.stage(packFolder, names) ? copy.place(unchanged) : copy.cancelled();
}

} // namespace carsets
