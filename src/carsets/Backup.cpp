#include "carsets/Backup.h"

#include "carsets/CopyReport.h"
#include "carsets/ShownProgress.h"
#include "fs/FileSystem.h"

void subBack(FormState& st, Ports& ui) {
    const fs::FileSystem fso(st.appPath);
    const QString prompt = QStringLiteral("Warning! This will copy your current cars to the original folder!") +
                           QStringLiteral("\r\n") + QStringLiteral("Are you sure you want to do this?");
    if (!ui.msgBox.askYesNo(prompt, QStringLiteral("Wait a Minute!")))
        return;

    // "original" is usually there from an earlier backup; a file in its way makes both copies fail,
    // which the report then names.
    fso.createFolder(QStringLiteral("original"));
    const QString textures = QStringLiteral("*.tex");
    const QString driversTxt = QStringLiteral("drivers.txt");
    QStringList failed;
    {
        const ShownProgress shown(ui.progress, QStringLiteral("Backing up your cars"), fso, {textures, driversTxt});
        failed = fso.copyFile(textures, QStringLiteral("original\\"), shown.callback()).failedFiles;
        failed += fso.copyFile(driversTxt, QStringLiteral("original\\drivers.txt"), shown.callback()).failedFiles;
    }
    reportFailedCopies(ui.msgBox, failed);
}
