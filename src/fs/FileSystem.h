#pragma once

#include "fs/FsStatus.h"
#include "fs/TextReader.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace fs {

struct Subfolder {
    QString name; // bare name, as the host spells it
    QString path; // full host path
};

// Told, as they happen, of the bytes a copy has just written and of each file it has finished.
using CopyProgress = std::function<void(qint64 newBytes, int newFiles)>;

// How much a copy would move.
struct CopySize {
    int files = 0;
    qint64 bytes = 0;
};

// The file-system service every procedure goes through. Paths may be written with "\" as the
// separator, as the league's and the program's own names are; relative paths resolve against the
// program's folder, which is the current folder of every procedure.
class FileSystem {
public:
    explicit FileSystem(QString programFolder);

    const QString& programFolder() const { return programFolder_; }

    QString getAbsolutePathName(const QString& path) const;
    bool fileExists(const QString& path) const;
    bool folderExists(const QString& path) const;
    std::optional<TextReader> openAsTextStream(const QString& path) const;
    FsStatus deleteFile(const QString& path) const;
    FsStatus createFolder(const QString& path) const;
    // The immediate subfolders, sorted by name without regard to letter case.
    QList<Subfolder> subfolders(const QString& path) const;

    // Copies one file, or every regular file matching a wildcard name such as "*.tex". A
    // destination ending in "\" receives the files under their own names. Each file arrives whole
    // or not at all: it is written under a temporary name beside its target and renamed over it.
    CopyOutcome copyFile(const QString& source, const QString& destination, const CopyProgress& progress = {}) const;
    // What copyFile would copy from that source, for showing progress against it.
    CopySize sizeOfCopy(const QString& source) const;

    // Writes bytes as a whole new file: a reader never sees half of it.
    FsStatus writeFile(const QString& path, const QByteArray& bytes) const;

    // Regular files of a folder matching a wildcard name, compared as the host compares names.
    QStringList matchingFiles(const QString& folder, const QString& wildcard) const;

private:
    struct Sources {
        QString folder;
        QStringList names;
        bool wildcard = false;
    };
    Sources sourcesOf(const QString& source) const;

    QString programFolder_;
};

} // namespace fs
