#include "archive/EntryName.h"

#include "fs/Path.h"

#include <algorithm>

namespace archives {

namespace {

// Longer names than this many UTF-16 units do not fit a folder entry on Windows' file systems.
constexpr qsizetype kMaxNameUnits = 255;

bool isDevice(const QString& name) {
    // Windows gives these names to devices in every folder, with or without an extension.
    const QString base = name.section(QLatin1Char('.'), 0, 0).trimmed().toUpper();
    static const QStringList devices{QStringLiteral("CON"), QStringLiteral("PRN"),    QStringLiteral("AUX"),
                                     QStringLiteral("NUL"), QStringLiteral("CONIN$"), QStringLiteral("CONOUT$")};
    if (devices.contains(base))
        return true;
    static const QString numbers = QStringLiteral("123456789\u00b9\u00b2\u00b3");
    return base.size() == 4 && (base.startsWith(QLatin1String("COM")) || base.startsWith(QLatin1String("LPT"))) &&
           numbers.contains(base[3]);
}

bool leadsOut(const QString& name) {
    const bool drive = name.size() >= 2 && name[1] == QLatin1Char(':') && name[0].isLetter();
    return name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1Char('\\')) || drive ||
           QString(name)
               .replace(QLatin1Char('\\'), QLatin1Char('/'))
               .split(QLatin1Char('/'))
               .contains(QLatin1String(".."));
}

} // namespace

bool isWindowsName(const QString& name) {
    static const QString forbidden = QStringLiteral("<>:\"/\\|?*");
    if (name.isEmpty() || name.size() > kMaxNameUnits || name.endsWith(QLatin1Char('.')) ||
        name.endsWith(QLatin1Char(' ')) || isDevice(name))
        return false;
    return std::none_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x20 || forbidden.contains(c); });
}

fs::Result<QStringList> partsOfEntryName(const QString& name) {
    if (leadsOut(name))
        return fs::Status::failed(QStringLiteral("leads out of the folder it is unpacked into"));
    QString path = name;
    // Archivers write a folder with a slash at its end, and many a tar names every entry from "./".
    while (path.startsWith(QLatin1String("./")))
        path.remove(0, 2);
    if (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    if (path.isEmpty() || path == QLatin1String("."))
        return name.isEmpty() ? fs::Result<QStringList>(fs::Status::failed(QStringLiteral("has no name")))
                              : QStringList();
    const QStringList parts = path.split(QLatin1Char('/'));
    for (const QString& part : parts) {
        if (!isWindowsName(part) || !fs::singleName(part))
            return fs::Status::failed(QStringLiteral("has a name Windows cannot give a file or folder"));
        if (part.startsWith(QLatin1String(".tarvok"), Qt::CaseInsensitive))
            return fs::Status::failed(QStringLiteral("has a name the program keeps for its own files"));
    }
    return parts;
}

fs::Status EntryPaths::add(const QStringList& parts, bool folder) {
    for (qsizetype count = 1; count <= parts.size(); ++count) {
        const bool last = count == parts.size();
        const Seen path{parts.first(count).join(QLatin1Char('/')), !last || folder};
        const QString key = path.path.toCaseFolded();
        const auto at = seen_.constFind(key);
        if (at == seen_.cend()) {
            seen_.insert(key, path);
            continue;
        }
        if (at->path != path.path)
            return fs::Status::failed(
                QStringLiteral("has the name of \"%1\" when letter case is ignored, as Windows does").arg(at->path));
        if (at->folder != path.folder)
            return fs::Status::failed(QStringLiteral("is both a file and a folder in the archive"));
        if (last && !folder)
            return fs::Status::failed(QStringLiteral("is in the archive twice"));
    }
    return fs::Status::done();
}

} // namespace archives
