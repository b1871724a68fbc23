#include "fs/Tree.h"

#include "fs/FileSystem.h"

#include <algorithm>

namespace fs {

namespace {

void addEntries(const Path& root, const Path& below, QList<TreeEntry>& entries) {
    QList<Path> names = host::entriesOf(root / below);
    std::sort(names.begin(), names.end());
    for (const Path& name : std::as_const(names)) {
        const Path path = below / name;
        const host::Kind kind = host::kindOfEntry(root / path);
        entries.append({path, kind, kind == host::Kind::RegularFile ? host::entryAt(root / path).size : 0});
        if (kind == host::Kind::Folder)
            addEntries(root, path, entries);
    }
}

} // namespace

QList<TreeEntry> entriesBelow(const Path& folder) {
    QList<TreeEntry> entries;
    if (host::kindOfEntry(folder) == host::Kind::Folder)
        addEntries(folder, Path(), entries);
    return entries;
}

bool sameTrees(const Path& a, const Path& b, const std::function<bool()>& going) {
    const QList<TreeEntry> entries = entriesBelow(a);
    if (entries != entriesBelow(b))
        return false;
    return std::all_of(entries.begin(), entries.end(), [&](const TreeEntry& entry) {
        return entry.kind != host::Kind::RegularFile ||
               sameContents(a / entry.path, b / entry.path, entry.size, [&](qint64) {
                   return going();
               }).value_or(false);
    });
}

bool removeTree(const Path& folder) {
    if (host::kindOfEntry(folder) != host::Kind::Folder)
        return !anythingAt(folder);
    // The member asked for it to go, read-only files too.
    host::allowRemoval(folder);
    for (const Path& name : host::entriesOf(folder)) {
        const Path path = folder / name;
        const host::Kind kind = host::kindOfEntry(path);
        if (kind == host::Kind::Folder) {
            removeTree(path);
        } else {
            // A link's mark would be cleared on what it leads to.
            if (kind == host::Kind::RegularFile)
                host::allowRemoval(path);
            host::removeFile(path);
            // A junction, Windows' link to a folder, goes as a folder does, and what it leads to stays.
            if (anythingAt(path))
                host::removeFolder(path);
        }
    }
    host::removeFolder(folder);
    return !anythingAt(folder);
}

} // namespace fs
