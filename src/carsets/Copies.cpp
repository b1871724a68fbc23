#include "carsets/Copies.h"

namespace carsets {

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

void announce(const CopyWatch& watch, const fs::Path& folder, const QList<fs::Path>& names) {
    if (!watch.starting)
        return;
    qint64 bytes = 0;
    for (const fs::Path& name : names)
        bytes += fs::sizeOf(folder / name);
    watch.starting(static_cast<int>(names.size()), bytes);
}

QString failedCopiesText(const CopyReport& report) {
    if (report.failedFiles.isEmpty())
        return {};
    const QString lineEnd = QStringLiteral("\r\n");
    QString text = QStringLiteral("Some files could not be copied:") + lineEnd + report.failedFiles.join(lineEnd);
    if (!report.note.isEmpty())
        text += lineEnd + lineEnd + report.note;
    return text;
}

} // namespace carsets
