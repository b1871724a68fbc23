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
    const QString folder = index < st.arrPacks.size() ? st.arrPacks.at(index).folderName : QString();
    subMove(st, ui, folder);
}

void subMove(FormState& st, Ports& ui, const QString& strFolder) {
    const fs::FileSystem fso(st.appPath);
    const QString carFolder = fso.programFolder() + QLatin1Char('\\');
    const QString packFolder = carFolder + strFolder + QLatin1Char('\\');

    if (!fso.folderExists(strFolder)) {
        ui.msgBox.msgBox(QStringLiteral("Skinpack not found!"), QStringLiteral("Oops..."));
        return;
    }

    const QString textures = packFolder + QStringLiteral("*.tex");
    const QString driversTxt = packFolder + QStringLiteral("drivers.txt");
    QStringList failed;
    QString note;
    {
        const ShownProgress shown(ui.progress, QStringLiteral("Swapping in ") + strFolder, fso, {textures, driversTxt});
        // A pack without textures is not a failure: its failed list stays empty.
        failed = fso.copyFile(textures, carFolder, shown.callback()).failedFiles;
        // drivers.txt must not name a set whose textures did not all arrive.
        if (failed.isEmpty())
            failed += fso.copyFile(driversTxt, QStringLiteral("drivers.txt"), shown.callback()).failedFiles;
        else
            note = QStringLiteral("drivers.txt was not replaced, so the swap is not complete.");
    }

    subCurrent(st, ui.lblCurrent);
    reportFailedCopies(ui.msgBox, failed, note);
}
