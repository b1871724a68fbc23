#pragma once

#include "Scale.h"

#include <QMap>
#include <QString>

#include <optional>

// A car folder whose pack is swapped in and whose active cars are backed up, and the folder the shell
// copies the same files into.
struct CopyFolders {
    QString cars; // the program's folder, holding textures of the pack's names and sizes but other bytes
    QString pack; // the pack's bare folder name
    QString shellTarget;
    QString secondShellTarget() const { return shellTarget + QStringLiteral("-2"); }
};

// How an archive is written: libarchive's format and its options, and the archive's file name.
struct ArchiveKind {
    const char* format;
    const char* options;
    const char* file;
};

// The folders the benchmarks work on, made under one root on first use and reused by every benchmark
// that needs the same kind.
class BenchData {
public:
    BenchData(QString root, const Scale& scale);

    const CopyFolders& copyFolders();
    // A car folder holding the same textures of scale.comparedBytes as its pack, and a second pack "Other" that is
    // the same but for its first texture, one byte longer. The shell target is unused.
    const CopyFolders& readinessFolders();

    // A program folder with an active drivers.txt and count skinpacks "Pack1", "Pack2" ..., each holding
    // only its drivers.txt dated kInstalledDate.
    QString packFolders(int count);

    // An archive of the kind holding a pack as the league publishes one: the folder kArchivedPack with the textures
    // of copyFolders()' pack and its drivers.txt. Made on first use.
    QString packArchive(const ArchiveKind& kind);
    // The folder of that name, empty, made anew on each call.
    QString freshFolder(const QString& name);
    // The same holding only an active drivers.txt.
    QString freshCarFolder(const QString& name);

    static QString packName(int number) { return QStringLiteral("Pack%1").arg(number); }
    static inline const QString kInstalledDate = QStringLiteral("2003-01-01");
    static inline const QString kArchivedPack = QStringLiteral("Pack");

private:
    QString root_;
    Scale scale_;
    CopyFolders sameSetIn(const QString& folder, qint64 bytesEach);

    std::optional<CopyFolders> copyFolders_;
    std::optional<CopyFolders> readinessFolders_;
    QMap<int, QString> packFolders_;
    QMap<QString, QString> archives_; // by the archive's file name
};
