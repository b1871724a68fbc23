#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A car folder in a temporary directory: the program's folder is <tmp>/cars, with a "run" folder
// beside it, as a member's game folder has.
class CarFolder {
public:
    CarFolder();

    QString path() const;                        // the program's folder
    QString file(const QString& relative) const; // host path below the program's folder

    void write(const QString& relative, const QByteArray& bytes) const;
    void makeFolder(const QString& relative) const;
    QByteArray read(const QString& relative) const;
    bool exists(const QString& relative) const;

    // A drivers.txt whose lines 4 and 5 carry name and date behind the prefix "## ".
    static QByteArray driversTxt(const QString& name, const QString& date);
    // A skinpack folder with its drivers.txt and the named textures (each holding its own name).
    void addPack(const QString& folder, const QString& name, const QString& date,
                 const QStringList& textures = {}) const;

    // Every file below the program's folder with its checksum, to prove what a command touched.
    QStringList snapshot() const;

private:
    QTemporaryDir root_;
};
