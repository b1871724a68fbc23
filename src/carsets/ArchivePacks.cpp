#include "carsets/ArchivePacks.h"

#include "archive/EntryName.h"
#include "carsets/Swap.h"
#include "fs/FileSystem.h"

#include <QSet>

#include <algorithm>
#include <set>

namespace carsets {

namespace {

// "previous 2" and on: a number from 2 up, after a space. No regular expression: this runs on the copies' thread, and
// a static Windows build crashes as such a thread ends once it has matched one (Qt keeps a thread-local JIT stack).
bool isNumberedPrevious(const QString& name) {
    const qsizetype space = name.lastIndexOf(QLatin1Char(' '));
    const QStringView number = QStringView(name).mid(space + 1);
    return space > 0 && !number.isEmpty() && number.front() != u'0' &&
           std::all_of(number.begin(), number.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }) &&
           fs::nameKey(fs::fromQt(name.left(space))) == fs::nameKey(kSwapKeeps.replaced);
}

bool isProgramFolder(const QString& name) {
    const QByteArray key = fs::nameKey(fs::fromQt(name));
    return key == fs::nameKey(kSwapKeeps.whole) || key == fs::nameKey(kSwapKeeps.replaced) ||
           isNumberedPrevious(name) || name.startsWith(QLatin1String(".tarvok"), Qt::CaseInsensitive);
}

// The archive's file name less the extension that makes it an archive.
QString nameOfArchive(const fs::Path& archive) {
    const QString name = fs::displayName(archive.filename());
    static const QStringList extensions{".tar.gz", ".tar.xz", ".tar.bz2", ".tgz", ".txz", ".tbz2",
                                        ".tbz",    ".zip",    ".7z",      ".rar", ".tar"};
    for (const QString& extension : extensions)
        if (name.endsWith(extension, Qt::CaseInsensitive))
            return name.chopped(extension.size());
    return name;
}

bool liesIn(fs::Path path, const std::set<fs::Path>& folders) {
    while (path.has_relative_path()) {
        path = path.parent_path();
        if (folders.count(path))
            return true;
    }
    return false;
}

} // namespace

ArchivePacks findArchivePacks(const QList<fs::Path>& files, const fs::Path& archive) {
    const QByteArray driversTxt = fs::nameKey(fs::Path("drivers.txt"));
    std::set<fs::Path> holders;
    for (const fs::Path& file : files)
        if (fs::nameKey(file.filename()) == driversTxt)
            holders.insert(file.parent_path());
    std::set<fs::Path> outer;
    for (const fs::Path& folder : std::as_const(holders))
        if (folder.empty() || !liesIn(folder, holders))
            outer.insert(folder);
    // A drivers.txt at the top makes the whole archive one pack.
    if (outer.count(fs::Path()))
        outer = {fs::Path()};

    ArchivePacks found;
    for (const fs::Path& folder : std::as_const(outer))
        found.packs.append({folder.empty() ? nameOfArchive(archive) : fs::displayName(folder.filename()), folder});
    std::sort(found.packs.begin(), found.packs.end(),
              [](const ArchivePack& a, const ArchivePack& b) { return a.folder < b.folder; });
    QSet<QByteArray> names;
    for (ArchivePack& pack : found.packs) {
        const QByteArray key = fs::nameKey(fs::fromQt(pack.name));
        if (!fs::singleName(pack.name) || !archives::isWindowsName(pack.name))
            pack.fault = NameFault::NotAName;
        else if (isProgramFolder(pack.name))
            pack.fault = NameFault::ProgramFolder;
        else if (names.contains(key))
            pack.fault = NameFault::Repeated;
        names.insert(key);
    }
    if (!outer.count(fs::Path()))
        for (const fs::Path& file : files)
            if (!liesIn(file, outer))
                found.leftOut.append(file);
    return found;
}

} // namespace carsets
