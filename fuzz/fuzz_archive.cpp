// An archive from anywhere, through the unpacking: each is unpacked whole or refused with a reason, and the folder
// it is unpacked into then holds what the unpacking lists, every part of every name one Windows can hold, or
// nothing at all. Then through the install into an empty car folder: its packs arrive, each a folder with its
// drivers.txt, or it is refused with a reason and the car folder stays empty; no working folder stays.
#include "archive/EntryName.h"
#include "archive/Unpack.h"
#include "carsets/Install.h"

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

// Installs the archive into an empty car folder, and ends the run when what the car folder then holds is not what the
// install told.
void install(const QString& archive, const QString& carFolder, const archives::UnpackLimits& limits) {
    QDir().mkdir(carFolder);
    carsets::Install installing(fs::fromQt(carFolder), fs::fromQt(archive), limits);
    carsets::InstallStep step = installing.unpack({});
    if (step.cancelled)
        std::abort();
    if (step.refused.isEmpty())
        step = installing.place({});
    QStringList expected;
    for (const carsets::Installing& pack : installing.packs())
        expected << pack.name << pack.name + QStringLiteral("/drivers.txt");
    const QStringList tree = treeOf(carFolder);
    for (const QString& path : step.refused.isEmpty() ? expected : QStringList())
        if (!tree.contains(path, Qt::CaseInsensitive))
            std::abort();
    if (!step.refused.isEmpty() ? !tree.isEmpty() : expected.isEmpty() || QDir(carFolder).exists(".tarvok-install"))
        std::abort();
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
    install(input.fileName(), dir.filePath(QStringLiteral("cars")), limits);
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
