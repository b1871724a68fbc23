#include "carsets/Swap.h"

#include "carsets/CopyReport.h"
#include "carsets/CurrentSet.h"
#include "carsets/ShownProgress.h"
#include "fs/FileSystem.h"

void subDoIt(FormState& st, Ports& ui) {
    const int index = ui.lstPacks.listIndex();
    if (index < 0) {
        ui.msgBox.msgBox(QStringLiteral("Please choose a skinpack first"), QStringLiteral("Doh!"));
        return;
    }
    // A position without a row names no folder, which the swap then reports as not found.
    subMove(st, ui, index < st.arrPacks.size() ? st.arrPacks.at(index) : PackRow{});
}

void subMove(FormState& st, Ports& ui, const PackRow& pack) {
    const fs::Path packFolder = st.appPath / pack.folder;
    if (pack.folder.empty() || !fs::isFolder(packFolder)) {
        ui.msgBox.msgBox(QStringLiteral("Skinpack not found!"), QStringLiteral("Oops..."));
        return;
    }

    const QList<fs::Path> textures = fs::filesEndingIn(packFolder, QStringLiteral(".tex"));
    QList<fs::Path> sources;
    for (const fs::Path& texture : textures)
        sources.append(packFolder / texture);
    sources.append(packFolder / "drivers.txt");

    QStringList failed;
    QString note;
    {
        const ShownProgress shown(ui.progress, QStringLiteral("Swapping in ") + pack.folderName, sources);
        failed = copyEach(packFolder, textures, st.appPath, shown.callback());
        // drivers.txt must not name a set whose textures did not all arrive.
        if (failed.isEmpty())
            failed += copyEach(packFolder, {fs::Path("drivers.txt")}, st.appPath, shown.callback());
        else
            note = QStringLiteral("drivers.txt was not replaced, so the swap is not complete.");
    }

    subCurrent(st, ui.lblCurrent);
    reportFailedCopies(ui.msgBox, failed, note);
}
