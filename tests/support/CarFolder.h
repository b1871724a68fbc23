#pragma once

#include "fs/Path.h"

#include <QByteArray>
#include <QDir>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <optional>

// Every file and folder under a root, with each file's contents, to tell what a command changed.
class TreeSnapshot {
public:
    explicit TreeSnapshot(const QString& root);

    // What differs from an earlier snapshot, sorted (a mark of the program's is told only as there or not, since it
    // names the identities the file system gave): "+ path" for what is new, "- path" for what went, and
    // "~ path" for a file whose contents changed; folders end in "/".
    QStringList changesSince(const TreeSnapshot& before) const;
    bool operator==(const TreeSnapshot& other) const = default;

private:
    QMap<QString, QByteArray> entries_;
};

// What the program's log in folder holds so far.
QString loggedIn(const QString& folder);

// A temporary folder for the program's logs that closes the open log before it goes, for Windows removes no open
// file.
class LogFolder : public QTemporaryDir {
public:
    ~LogFolder();
};

// A member's game folder in a temporary directory: the car folder "cars", and the track folder "run"
// beside it.
class CarFolder {
public:
    // The game folder is the temporary directory, or the folders parents below it.
    explicit CarFolder(const QString& parents = {});
    // The car folder at path that a test made, seen from its child process; left for the test to remove.
    struct Made {
        QString path;
    };
    explicit CarFolder(const Made& made);

    QString path() const { return game_ + "/cars"; }                                // the car folder
    fs::Path host() const { return fs::fromQt(path()); }                            // the same, as the program takes it
    QString file(const QString& relative) const { return path() + '/' + relative; } // a path below the car folder

    void write(const QString& relative, const QByteArray& bytes) const;
    void makeFolder(const QString& relative) const { QDir().mkpath(file(relative)); }
    QByteArray read(const QString& relative) const;

    // A drivers.txt whose lines 4 and 5 carry name and date behind the prefix "## ".
    static QByteArray driversTxt(const QString& name, const QString& date);
    // A skinpack folder with its drivers.txt and the named textures, each holding its own path.
    void addPack(const QString& folder, const QString& name, const QString& date,
                 const QStringList& textures = {}) const;

    // A folder as the program makes one of its own here, holding the files given, each noted in its mark.
    void makeOwn(const QString& relative, const QMap<QString, QByteArray>& files = {}) const;

    // The whole game folder, the car folder's neighbours included.
    TreeSnapshot snapshot() const { return TreeSnapshot(game_); }

private:
    std::optional<QTemporaryDir> root_;
    QString game_;
};
