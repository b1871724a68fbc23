#include "fs/WholeFile.h"

#include "fs/HostFile.h"

#include <QFileInfo>
#include <QTemporaryFile>

namespace fs {

namespace {

// A temporary name that no wildcard of the program ("*.tex") and no fixed name can match.
QString temporaryTemplate(const QString& target) {
    const QFileInfo info(target);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".XXXXXX.part");
}

// Opens the temporary sibling of target, lets fill write it, then syncs and renames it over
// target. Anything that fails leaves target untouched and no temporary file behind.
template <typename Fill> bool replaceWhole(const QString& target, Fill&& fill) {
    if (QFileInfo(target).isDir())
        return false;
    QTemporaryFile temporary(temporaryTemplate(target));
    if (!temporary.open())
        return false;
    if (!fill(temporary) || !temporary.flush() || !syncToDisk(temporary))
        return false;
    temporary.close();
    if (!renameOver(temporary.fileName(), target))
        return false;
    temporary.setAutoRemove(false);
    return true;
}

} // namespace

bool copyWholeFile(const QString& source, const QString& target, const CopyProgress& progress) {
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        return false;
    qint64 reported = 0;
    return replaceWhole(target, [&](QFile& output) {
        if (!copyContents(input, output, [&](qint64 done) {
                if (progress)
                    progress(done - reported, 0);
                reported = done;
            }))
            return false;
        output.setPermissions(input.permissions());
        return true;
    });
}

bool writeWholeFile(const QString& target, const QByteArray& bytes) {
    return replaceWhole(target, [&](QFile& output) { return output.write(bytes) == bytes.size(); });
}

} // namespace fs
