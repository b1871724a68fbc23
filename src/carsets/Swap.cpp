#include "carsets/Swap.h"

namespace carsets {

std::optional<CopyReport> swapIn(const fs::Path& carFolder, const Pack& pack, const CopyWatch& watch) {
    const fs::Path packFolder = carFolder / pack.folder;
    if (pack.folder.empty() || !fs::isFolder(packFolder))
        return std::nullopt;

    const QList<fs::Path> textures = fs::filesEndingIn(packFolder, QStringLiteral(".tex"));
    const QList<fs::Path> driversTxt{fs::Path("drivers.txt")};
    announce(watch, packFolder, textures + driversTxt);
    CopyReport report{copyEach(packFolder, textures, carFolder, watch.progress), {}};
    if (report.failedFiles.isEmpty())
        report.failedFiles = copyEach(packFolder, driversTxt, carFolder, watch.progress);
    else
        report.note = QStringLiteral("drivers.txt was not replaced, so the swap is not complete.");
    return report;
}

} // namespace carsets
