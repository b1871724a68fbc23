#include "carsets/Swap.h"

#include "fs/FileSystem.h"

namespace carsets {

std::optional<CopyReport> swapIn(const fs::Path& carFolder, const Pack& pack, const CopyWatch& watch) {
    const fs::Path packFolder = carFolder / pack.folder;
    if (pack.folder.empty() || !fs::isFolder(packFolder))
        return std::nullopt;

    const QList<fs::Path> textures = fs::filesEndingIn(packFolder, QStringLiteral(".tex"));
    const QList<fs::Path> driversTxt{fs::Path("drivers.txt")};
    const QString unchanged = QStringLiteral("Your cars were not changed.");
    SetCopy copy(carFolder, watch);
    if (std::optional<CopyReport> refused = copy.refusal(unchanged))
        return refused;
    copy.announce(packFolder, textures + driversTxt);
    if (!copy.stage(packFolder, textures))
        return copy.cancelled();
    if (copy.anyFailed())
        copy.note(QStringLiteral("drivers.txt was not replaced, so the swap is not complete."));
    else if (!copy.stage(packFolder, driversTxt))
        return copy.cancelled();
    return copy.place(unchanged);
}

} // namespace carsets
