#include "support/CarFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

CarFolder::CarFolder() {
    QDir(root_.path()).mkpath(QStringLiteral("cars"));
    QDir(root_.path()).mkpath(QStringLiteral("run"));
}

QString CarFolder::path() const {
    return root_.path() + QStringLiteral("/cars");
}

QString CarFolder::file(const QString& relative) const {
    return path() + QLatin1Char('/') + relative;
}

void CarFolder::write(const QString& relative, const QByteArray& bytes) const {
    const QString target = file(relative);
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(target));
}

void CarFolder::makeFolder(const QString& relative) const {
    QDir().mkpath(file(relative));
}

QByteArray CarFolder::read(const QString& relative) const {
    QFile in(file(relative));
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

bool CarFolder::exists(const QString& relative) const {
    return QFileInfo::exists(file(relative));
}

QByteArray CarFolder::driversTxt(const QString& name, const QString& date) {
    return "line one\r\nline two\r\nline three\r\n## " + name.toUtf8() + "\r\n## " + date.toUtf8() + "\r\nline six\r\n";
}

void CarFolder::addPack(const QString& folder, const QString& name, const QString& date,
                        const QStringList& textures) const {
    write(folder + QStringLiteral("/drivers.txt"), driversTxt(name, date));
    for (const QString& texture : textures)
        write(folder + QLatin1Char('/') + texture, (folder + QLatin1Char('/') + texture).toUtf8());
}

QStringList CarFolder::snapshot() const {
    QStringList entries;
    QDirIterator it(root_.path(), QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString name = it.next();
        const QString relative = QDir(root_.path()).relativeFilePath(name);
        if (it.fileInfo().isDir()) {
            entries.append(relative + QLatin1Char('/'));
            continue;
        }
        QFile in(name);
        in.open(QIODevice::ReadOnly);
        entries.append(relative + QLatin1Char(' ') +
                       QCryptographicHash::hash(in.readAll(), QCryptographicHash::Sha256).toHex());
    }
    entries.sort();
    return entries;
}
