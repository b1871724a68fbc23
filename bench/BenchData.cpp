#include "BenchData.h"

#include "Process.h"
#include "support/CarFolder.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <archive.h>
#include <archive_entry.h>

#include <filesystem>

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

QString textureName(int number) {
    return QStringLiteral("car%1.tex").arg(number, 2, 10, QLatin1Char('0'));
}

QByteArray activeDriversTxt() {
    return CarFolder::driversTxt(QStringLiteral("Bench Active"), BenchData::kInstalledDate);
}

// Written whole into the archive as one regular file.
void addFile(::archive* writer, const QString& name, const QByteArray& bytes) {
    archive_entry* entry = archive_entry_new();
    archive_entry_update_pathname_utf8(entry, name.toUtf8().constData());
    archive_entry_set_filetype(entry, AE_IFREG);
    archive_entry_set_perm(entry, 0644);
    archive_entry_set_size(entry, bytes.size());
    const bool written = archive_write_header(writer, entry) == ARCHIVE_OK &&
                         archive_write_data(writer, bytes.constData(), size_t(bytes.size())) == bytes.size();
    archive_entry_free(entry);
    if (!written)
        qFatal("cannot archive %s: %s", qPrintable(name), archive_error_string(writer));
}

} // namespace

BenchData::BenchData(QString root, const Scale& scale) : root_(std::move(root)), scale_(scale) {}

const CopyFolders& BenchData::copyFolders() {
    if (copyFolders_)
        return *copyFolders_;
    const CopyFolders folders = sameSetIn(root_ + QStringLiteral("/copy"), scale_.textureBytes);
    makeFolder(folders.secondShellTarget());
    // The active cars differ from the pack's in every file, so that each swap replaces them all.
    for (int number = 1; number <= scale_.textures; ++number)
        writeFile(folders.cars + QLatin1Char('/') + textureName(number),
                  textureBytes(scale_.textureBytes, scale_.textures + number));
    writeFile(folders.cars + QStringLiteral("/drivers.txt"), activeDriversTxt());
    flushDisks();
    copyFolders_ = folders;
    return *copyFolders_;
}

const CopyFolders& BenchData::readinessFolders() {
    if (readinessFolders_)
        return *readinessFolders_;
    const CopyFolders folders = sameSetIn(root_ + QStringLiteral("/readiness"), scale_.comparedBytes);
    // Links share the pack's files, so only the texture that differs is written again.
    const QString pack = folders.cars + QLatin1Char('/') + folders.pack,
                  other = folders.cars + QStringLiteral("/Other");
    makeFolder(other);
    for (const QString& name : QDir(pack).entryList(QDir::Files)) {
        std::error_code failed;
        std::filesystem::create_hard_link(fs::fromQt(pack + QLatin1Char('/') + name),
                                          fs::fromQt(other + QLatin1Char('/') + name), failed);
        if (failed)
            qFatal("cannot link %s", qPrintable(name));
    }
    QFile::remove(other + QStringLiteral("/car01.tex"));
    writeFile(other + QStringLiteral("/car01.tex"), textureBytes(scale_.comparedBytes + 1, 1));
    flushDisks();
    readinessFolders_ = folders;
    return *readinessFolders_;
}

CopyFolders BenchData::sameSetIn(const QString& folder, qint64 bytesEach) {
    const CopyFolders folders{folder + QStringLiteral("/cars"), QStringLiteral("Pack"),
                              folder + QStringLiteral("/shell-target")};
    const QString pack = folders.cars + QLatin1Char('/') + folders.pack;
    makeFolder(pack);
    makeFolder(folders.shellTarget);
    for (int number = 1; number <= scale_.textures; ++number) {
        const QString name = QLatin1Char('/') + textureName(number);
        const QByteArray bytes = textureBytes(bytesEach, number);
        writeFile(pack + name, bytes);
        writeFile(folders.cars + name, bytes);
    }
    const QByteArray drivers = CarFolder::driversTxt(QStringLiteral("Bench Pack"), kInstalledDate);
    writeFile(pack + QStringLiteral("/drivers.txt"), drivers);
    writeFile(folders.cars + QStringLiteral("/drivers.txt"), drivers);
    flushDisks();
    return folders;
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

QString BenchData::packArchive(const ArchiveKind& kind) {
    const QString file = QString::fromLatin1(kind.file);
    if (archives_.contains(file))
        return archives_.value(file);
    makeFolder(root_ + QStringLiteral("/archives"));
    const QString path = root_ + QStringLiteral("/archives/") + file;
    ::archive* writer = archive_write_new();
    if (archive_write_set_format_by_name(writer, kind.format) != ARCHIVE_OK ||
        archive_write_set_options(writer, kind.options) != ARCHIVE_OK ||
        archive_write_open_filename(writer, QFile::encodeName(path).constData()) != ARCHIVE_OK)
        qFatal("cannot write %s: %s", qPrintable(path), archive_error_string(writer));
    const QString folder = kArchivedPack + QLatin1Char('/');
    for (int number = 1; number <= scale_.textures; ++number)
        addFile(writer, folder + textureName(number), textureBytes(scale_.textureBytes, number));
    addFile(writer, folder + QStringLiteral("drivers.txt"),
            CarFolder::driversTxt(QStringLiteral("Bench Pack"), kInstalledDate));
    if (archive_write_close(writer) != ARCHIVE_OK)
        qFatal("cannot write %s: %s", qPrintable(path), archive_error_string(writer));
    archive_write_free(writer);
    flushDisks();
    archives_.insert(file, path);
    return path;
}

QString BenchData::freshFolder(const QString& name) {
    const QString folder = root_ + QLatin1Char('/') + name;
    if (!QDir(folder).removeRecursively())
        qFatal("cannot remove %s", qPrintable(folder));
    makeFolder(folder);
    return folder;
}

QString BenchData::freshCarFolder(const QString& name) {
    const QString cars = freshFolder(name);
    writeFile(cars + QStringLiteral("/drivers.txt"), activeDriversTxt());
    return cars;
}
