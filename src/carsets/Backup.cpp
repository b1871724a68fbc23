#include "carsets/Backup.h"

#include "carsets/CopyReport.h"
#include "carsets/ShownProgress.h"
#include "fs/FileSystem.h"

void subBack(FormState& st, Ports& ui) {
    const QString prompt = QStringLiteral("Warning! This will copy your current cars to the original folder!") +
                           QStringLiteral("\r\n") + QStringLiteral("Are you sure you want to do this?");
    if (!ui.msgBox.askYesNo(prompt, QStringLiteral("Wait a Minute!")))
        return;

    // "original" is usually there from an earlier backup; a file in its way makes every copy fail,
    // which the report then names.
    const fs::Path backup = st.appPath / "original";
    fs::createFolder(backup);
    QList<fs::Path> names = fs::filesEndingIn(st.appPath, QStringLiteral(".tex"));
    // A set without a description still has its textures backed up.
    if (fs::isFile(st.appPath / "drivers.txt"))
        names.append(fs::Path("drivers.txt"));
    QList<fs::Path> sources;
    for (const fs::Path& name : names)
        sources.append(st.appPath / name);

    QStringList failed;
    {
        const ShownProgress shown(ui.progress, QStringLiteral("Backing up your cars"), sources);
        failed = copyEach(st.appPath, names, backup, shown.callback());
    }
    reportFailedCopies(ui.msgBox, failed);
}
