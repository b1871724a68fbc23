#include "fs/FileSystem.h"

#include "fs/WholeFile.h"

#include <QDir>
#include <QFileInfo>

namespace fs {

namespace {

QString hostSeparators(const QString& path) {
    QString host = path;
    host.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return host;
}

bool endsInSeparator(const QString& path) {
    return path.endsWith(QLatin1Char('\\')) || path.endsWith(QLatin1Char('/'));
}

bool isWildcard(const QString& name) {
    return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

// Names compare as the host's usual file system compares them.
constexpr QDir::Filter kHostCase =
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    QDir::NoFilter;
#else
    QDir::CaseSensitive;
#endif

} // namespace

FileSystem::FileSystem(QString programFolder) : programFolder_(std::move(programFolder)) {}

QString FileSystem::getAbsolutePathName(const QString& path) const {
    const QString host = hostSeparators(path);
    if (QDir::isAbsolutePath(host))
        return QDir::cleanPath(host);
    return QDir::cleanPath(programFolder_ + QLatin1Char('/') + host);
}

bool FileSystem::fileExists(const QString& path) const {
    return !path.isEmpty() && QFileInfo(getAbsolutePathName(path)).isFile();
}

bool FileSystem::folderExists(const QString& path) const {
    return !path.isEmpty() && QFileInfo(getAbsolutePathName(path)).isDir();
}

std::optional<TextReader> FileSystem::openAsTextStream(const QString& path) const {
    if (path.isEmpty())
        return std::nullopt;
    // Opening fails for a folder too, so no separate look is needed first.
    auto file = std::make_unique<QFile>(getAbsolutePathName(path));
    if (!file->open(QIODevice::ReadOnly))
        return std::nullopt;
    return TextReader(std::move(file));
}

FsStatus FileSystem::deleteFile(const QString& path) const {
    if (!fileExists(path))
        return FsStatus::NotFound;
    return QFile::remove(getAbsolutePathName(path)) ? FsStatus::Ok : FsStatus::Failed;
}

FsStatus FileSystem::createFolder(const QString& path) const {
    const QString absolute = getAbsolutePathName(path);
    const QFileInfo info(absolute);
    if (info.isDir())
        return FsStatus::AlreadyExists;
    if (info.exists() || info.isSymLink())
        return FsStatus::Failed;
    return QDir().mkdir(absolute) ? FsStatus::Ok : FsStatus::Failed;
}

QList<Subfolder> FileSystem::subfolders(const QString& path) const {
    const QFileInfoList entries =
        QDir(getAbsolutePathName(path))
            .entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    QList<Subfolder> folders;
    folders.reserve(entries.size());
    for (const QFileInfo& entry : entries)
        folders.append({entry.fileName(), entry.absoluteFilePath()});
    return folders;
}

QStringList FileSystem::matchingFiles(const QString& folder, const QString& wildcard) const {
    return QDir(getAbsolutePathName(folder))
        .entryList({wildcard}, QDir::Files | QDir::Hidden | kHostCase, QDir::Name | QDir::IgnoreCase);
}

FileSystem::Sources FileSystem::sourcesOf(const QString& source) const {
    const QFileInfo sourceInfo(getAbsolutePathName(source));
    Sources sources{sourceInfo.absolutePath(), {}, isWildcard(sourceInfo.fileName())};
    if (sources.wildcard)
        sources.names = matchingFiles(sources.folder, sourceInfo.fileName());
    else if (sourceInfo.isFile())
        sources.names = {sourceInfo.fileName()};
    return sources;
}

CopySize FileSystem::sizeOfCopy(const QString& source) const {
    const Sources sources = sourcesOf(source);
    CopySize size{static_cast<int>(sources.names.size()), 0};
    for (const QString& name : sources.names)
        size.bytes += QFileInfo(sources.folder + QLatin1Char('/') + name).size();
    return size;
}

CopyOutcome FileSystem::copyFile(const QString& source, const QString& destination,
                                 const CopyProgress& progress) const {
    const Sources sources = sourcesOf(source);
    CopyOutcome outcome;
    if (sources.names.isEmpty()) {
        outcome.status = sources.wildcard ? FsStatus::NothingToCopy : FsStatus::NotFound;
        return outcome;
    }

    const bool intoFolder = sources.wildcard || endsInSeparator(destination);
    const QString target = getAbsolutePathName(destination);
    for (const QString& name : sources.names) {
        const QString to = intoFolder ? target + QLatin1Char('/') + name : target;
        if (copyWholeFile(sources.folder + QLatin1Char('/') + name, to, progress))
            ++outcome.copiedFiles;
        else
            outcome.failedFiles.append(name);
        if (progress)
            progress(0, 1);
    }
    if (!outcome.failedFiles.isEmpty())
        outcome.status = FsStatus::Failed;
    return outcome;
}

FsStatus FileSystem::writeFile(const QString& path, const QByteArray& bytes) const {
    return writeWholeFile(getAbsolutePathName(path), bytes) ? FsStatus::Ok : FsStatus::Failed;
}

} // namespace fs
