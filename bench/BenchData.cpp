#include "BenchData.h"

#include "Process.h"
#include "support/CarFolder.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

void makeFolder(const QString& path) {
    if (!QDir().mkpath(path))
        qFatal("cannot make %s", qPrintable(path));
}

// Texture bytes that no file system can compress or share: random, and different in every file.
QByteArray textureBytes(qint64 size, int number) {
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator random(static_cast<quint32>(number) + 1);
    random.fillRange(reinterpret_cast<quint32*>(bytes.data()), static_cast<qsizetype>(size / sizeof(quint32)));
    return bytes;
}

} // namespace

BenchData::BenchData(QString root, const Scale& scale) : root_(std::move(root)), scale_(scale) {}

const CopyFolders& BenchData::copyFolders() {
    if (copyFolders_)
        return *copyFolders_;
    const CopyFolders folders{root_ + QStringLiteral("/copy/cars"), QStringLiteral("Pack"),
                              root_ + QStringLiteral("/copy/shell-target")};
    const QString pack = folders.cars + QLatin1Char('/') + folders.pack;
    makeFolder(pack);
    makeFolder(folders.shellTarget);
    for (int number = 1; number <= scale_.textures; ++number) {
        const QString name = QStringLiteral("/car%1.tex").arg(number, 2, 10, QLatin1Char('0'));
        const QByteArray bytes = textureBytes(scale_.textureBytes, number);
        writeFile(pack + name, bytes);
        writeFile(folders.cars + name, bytes);
    }
    const QByteArray drivers = CarFolder::driversTxt(QStringLiteral("Bench Pack"), kInstalledDate);
    writeFile(pack + QStringLiteral("/drivers.txt"), drivers);
    writeFile(folders.cars + QStringLiteral("/drivers.txt"), drivers);
    flushDisks();
    copyFolders_ = folders;
    return *copyFolders_;
}

QString BenchData::packFolders(int count) {
    if (packFolders_.contains(count))
        return packFolders_.value(count);
    const QString cars = root_ + QStringLiteral("/packs-%1/cars").arg(count);
    makeFolder(cars);
    writeFile(cars + QStringLiteral("/drivers.txt"),
              CarFolder::driversTxt(QStringLiteral("Active Set"), kInstalledDate));
    for (int number = 1; number <= count; ++number) {
        const QString pack = cars + QLatin1Char('/') + packName(number);
        makeFolder(pack);
        writeFile(pack + QStringLiteral("/drivers.txt"),
                  CarFolder::driversTxt(QStringLiteral("Skinpack %1").arg(number), kInstalledDate));
    }
    flushDisks();
    packFolders_.insert(count, cars);
    return cars;
}
