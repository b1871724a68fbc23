#pragma once

#include "fs/HostFile.h"
#include "fs/Path.h"

#include <QList>

#include <functional>

namespace fs {

// An entry below a folder: its path below it, what it is itself (a link is not followed) and a regular file's size.
struct TreeEntry {
    Path path;
    host::Kind kind = host::Kind::Missing;
    qint64 size = 0;
    bool operator==(const TreeEntry&) const = default;
};

// Every entry below folder, each folder before what it holds, in the order of their names; no link is followed.
QList<TreeEntry> entriesBelow(const Path& folder);

// Whether two folders hold the same entries, each regular file with the same bytes; `going` is asked between blocks
// and gives up when it returns false. A file that cannot be read makes them differ.
bool sameTrees(const Path& a, const Path& b, const std::function<bool()>& going);

// Removes folder and everything below it, following no link: a link goes, what it leads to stays. Whether it is gone.
bool removeTree(const Path& folder);

} // namespace fs
