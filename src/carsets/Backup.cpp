#include "carsets/Backup.h"

#include "carsets/CopyReport.h"
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
    QStringList failed = fso.copyFile(QStringLiteral("*.tex"), QStringLiteral("original\\")).failedFiles;
    failed += fso.copyFile(QStringLiteral("drivers.txt"), QStringLiteral("original\\drivers.txt")).failedFiles;
    reportFailedCopies(ui.msgBox, failed);
}
