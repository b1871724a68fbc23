#include "support/CarFolder.h"

#include "fs/Mark.h"
#include "session/LogFile.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>

static QByteArray contentsOf(const QString& path) {
    QFile in(path);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

TreeSnapshot::TreeSnapshot(const QString& root) {
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next(), relative = QDir(root).relativeFilePath(path);
        // A FIFO or a link to a device is listed but never read.
        if (it.fileInfo().isDir() && !it.fileInfo().isSymLink())
            entries_.insert(relative + QLatin1Char('/'), QByteArray());
        else if (it.fileName() == QLatin1String(".tarvok-made"))
            entries_.insert(relative, QByteArray("(mark)"));
        else
            entries_.insert(relative, it.fileInfo().isFile() ? contentsOf(path) : QByteArray("(special)"));
    }
}

QStringList TreeSnapshot::changesSince(const TreeSnapshot& before) const {
    QStringList changes;
    const QStringList keys = entries_.keys() + before.entries_.keys();
    for (const QString& key : QSet<QString>(keys.begin(), keys.end()))
        if (before.entries_.value(key, "(none)") != entries_.value(key, "(none)"))
            changes << (!before.entries_.contains(key) ? "+ " : entries_.contains(key) ? "~ " : "- ") + key;
    changes.sort();
    return changes;
}

CarFolder::CarFolder(const QString& parents)
    : root_(std::in_place), game_(QDir::cleanPath(root_->path() + '/' + parents)) {
    QDir(game_).mkpath("cars");
    QDir(game_).mkpath("run");
}

CarFolder::CarFolder(const Made& made) : game_(QFileInfo(made.path).path()) {}

void CarFolder::write(const QString& relative, const QByteArray& bytes) const {
    const QString target = file(relative);
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(target));
}

QString loggedIn(const QString& folder) {
    return QString::fromUtf8(contentsOf(folder + "/tarvok-car-manager.log"));
}

LogFolder::~LogFolder() {
    // Sent where a folder stands in its way, the log is closed; that it cannot be opened there is no news.
    QDir(path()).mkpath("closed/tarvok-car-manager.log");
    const QtMessageHandler logging =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    session::startLogFile(filePath("closed"));
    qInstallMessageHandler(logging);
}

QByteArray CarFolder::read(const QString& relative) const {
    return contentsOf(file(relative));
}

QByteArray CarFolder::driversTxt(const QString& name, const QString& date) {
    return "line one\r\nline two\r\nline three\r\n## " + name.toUtf8() + "\r\n## " + date.toUtf8() + "\r\nline six\r\n";
}

void CarFolder::addPack(const QString& folder, const QString& name, const QString& date,
                        const QStringList& textures) const {
    write(folder + "/drivers.txt", driversTxt(name, date));
    for (const QString& texture : textures)
        write(folder + QLatin1Char('/') + texture, (folder + QLatin1Char('/') + texture).toUtf8());
}

void CarFolder::makeOwn(const QString& relative, const QMap<QString, QByteArray>& files) const {
    const fs::Path folder = fs::fromQt(file(relative));
    fs::makeOwnFolder(folder);
    for (auto each = files.begin(); each != files.end(); ++each) {
        write(relative + '/' + each.key(), each.value());
        const fs::Path name = fs::fromQt(each.key());
        fs::noteArriving(folder, name, each.value().size(), fs::host::identityOf(folder / name));
    }
}
