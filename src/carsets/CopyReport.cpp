#include "carsets/CopyReport.h"

void reportFailedCopies(MessageBox& msgBox, const QStringList& failedFiles, const QString& note) {
    if (failedFiles.isEmpty())
        return;
    const QString lineEnd = QStringLiteral("\r\n");
    QString prompt = QStringLiteral("Some files could not be copied:") + lineEnd + failedFiles.join(lineEnd);
    if (!note.isEmpty())
        prompt += lineEnd + lineEnd + note;
    msgBox.msgBox(prompt, QStringLiteral("Oops..."));
}
