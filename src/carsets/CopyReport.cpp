#include "carsets/CopyReport.h"

QStringList copyEach(const fs::Path& from, const QList<fs::Path>& names, const fs::Path& into,
                     const fs::CopyProgress& progress) {
    QStringList failed;
    for (const fs::Path& name : names) {
        // A file that vanished since the folder was listed is named too: nothing goes missing in silence.
        if (fs::copyWhole(from / name, into / name, progress) != fs::CopyResult::Copied)
            failed.append(fs::displayName(name));
        if (progress)
            progress(0, 1);
    }
    return failed;
}

void reportFailedCopies(MessageBox& msgBox, const QStringList& failedFiles, const QString& note) {
    if (failedFiles.isEmpty())
        return;
    const QString lineEnd = QStringLiteral("\r\n");
    QString prompt = QStringLiteral("Some files could not be copied:") + lineEnd + failedFiles.join(lineEnd);
    if (!note.isEmpty())
        prompt += lineEnd + lineEnd + note;
    msgBox.msgBox(prompt, QStringLiteral("Oops..."));
}
