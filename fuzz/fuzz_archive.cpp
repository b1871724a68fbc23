// An archive from anywhere, through the unpacking: each is unpacked whole or refused with a reason, and the folder
// it is unpacked into then holds what the unpacking lists, every part of every name one Windows can hold, or
// nothing at all.
#include "archive/EntryName.h"
#include "archive/Unpack.h"

#include <QDirIterator>
#include <QLoggingCategory>
#include <QStorageInfo>
#include <QTemporaryDir>

#include <clocale>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// What a folder holds, each path below it; a link is never written, so one found ends the run.
QStringList treeOf(const QString& folder) {
    QStringList paths;
    QDirIterator entries(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                         QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        entries.next();
        if (entries.fileInfo().isSymLink())
            std::abort();
        paths.append(QDir(folder).relativeFilePath(entries.filePath()));
    }
    return paths;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Every refusal would be logged; names decode as in the program, whose Qt makes the locale's UTF-8; and in
    // memory, where the host offers it, the files' syncs cost nothing.
    static const QString base = [] {
        QLoggingCategory::setFilterRules(QStringLiteral("tarvok.*=false"));
        std::setlocale(LC_ALL, "C.UTF-8");
        return QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    }();
    QTemporaryDir dir(base + QStringLiteral("/fuzz_archive-XXXXXX"));
    QFile input(dir.filePath(QStringLiteral("input")));
    if (!input.open(QIODevice::WriteOnly) || input.write(reinterpret_cast<const char*>(data), qint64(size)) < 0)
        return 0;
    input.close();
    const QString into = dir.filePath(QStringLiteral("into"));
    QDir(dir.path()).mkdir(QStringLiteral("into"));
    // Room for 32 MiB of files, whatever the input announces.
    archives::UnpackLimits limits;
    limits.keepFree = QStorageInfo(dir.path()).bytesAvailable() - 32 * 1024 * 1024;
    const archives::Unpacked unpacked =
        archives::unpack(fs::fromQt(input.fileName()), fs::fromQt(into), archives::UnpackWatch{}, limits);

    const QStringList tree = treeOf(into);
    if (unpacked.cancelled)
        std::abort();
    if (!unpacked.ok()) {
        if (unpacked.refusal->reason.isEmpty() || !tree.isEmpty())
            std::abort();
        return 0;
    }
    if (tree.size() != unpacked.files.size() + unpacked.folders.size())
        std::abort();
    for (const archives::UnpackedFile& file : unpacked.files) {
        const QString path = QDir::fromNativeSeparators(fs::displayName(file.path));
        const QFileInfo info(into + QLatin1Char('/') + path);
        if (!info.isFile() || info.size() != file.size)
            std::abort();
        for (const QString& part : path.split(QLatin1Char('/')))
            if (!archives::isWindowsName(part) || !fs::isSingleName(fs::fromQt(part)))
                std::abort();
    }
    return 0;
}
