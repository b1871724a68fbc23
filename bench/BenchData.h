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

    static QString packName(int number) { return QStringLiteral("Pack%1").arg(number); }
    static inline const QString kInstalledDate = QStringLiteral("2003-01-01");

private:
    QString root_;
    Scale scale_;
    CopyFolders sameSetIn(const QString& folder, qint64 bytesEach);

    std::optional<CopyFolders> copyFolders_;
    std::optional<CopyFolders> readinessFolders_;
    QMap<int, QString> packFolders_;
};
