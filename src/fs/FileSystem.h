#pragma once

#include "fs/Path.h"
#include "fs/Status.h"

#include <QByteArray>
#include <QList>

#include <functional>
#include <optional>

// The host file system as the program uses it. Every operation reports its outcome instead of
// throwing, so each caller decides whether to go on with its next step.
namespace fs {

// Whether anything takes the name: a link counts, even one that leads nowhere.
bool anythingAt(const Path& path);
// Whether path is a link itself: a symbolic link, or on Windows a junction or another reparse point.
bool isLink(const Path& path);
bool isFolder(const Path& path);
// A regular file once symbolic links are followed: never a FIFO or a device.
bool isFile(const Path& path);

// A name in a folder, and how it is shown to the member.
struct ShownName {
    Path name;
    QString shown;
};

// Whether reading path, a file below root, would read something outside root: only a link on the way can lead there,
// and a link within root is read as any file.
bool leadsOutside(const Path& root, const Path& path);

// A folder's immediate subfolders, sorted as shown, without regard to letter case.
QList<ShownName> subfolders(const Path& folder);
// The names of a folder's regular files that end in suffix (".tex"), compared as the host compares names.
QList<Path> filesEndingIn(const Path& folder, const QString& suffix);

// The first maxBytes of a regular file, or all of a shorter one; nothing when it is not a regular file
// or cannot be read.
Result<QByteArray> readHead(const Path& file, qint64 maxBytes);

// Reads the heads of many files below one folder, one after another. Where the host allows it the folder is held
// open, so each read looks up only the names below it and costs one open, one look at what it opened, one read
// and one close.
class FolderReader {
public:
    explicit FolderReader(Path folder);
    ~FolderReader();
    FolderReader(const FolderReader&) = delete;
    FolderReader& operator=(const FolderReader&) = delete;

    // readHead of folder / subfolder / name.
    Result<QByteArray> readHead(const Path& subfolder, const Path& name, qint64 maxBytes) const;

private:
    Path folder_;
    int handle_ = -1; // the open folder, on hosts that keep one
};

// Equal for two names exactly when the host takes them for one: their bytes, on Windows their letters without
// regard to case.
QByteArray nameKey(const Path& name);

// Why the regular file at path could not be opened, just after it could not.
Status failedToOpen(const Path& path);

void removeFile(const Path& path);
// Renames a folder to a name that is free.
Status moveFolder(const Path& from, const Path& to);
// A regular file's size, 0 for anything else; from its folder entry alone, as regularFileSize.
qint64 sizeOf(const Path& file);
// A regular file's size from its folder entry alone, or why path names none: "not there", "a folder" or "not a
// regular file".
Result<qint64> regularFileSize(const Path& path);

// Whether two regular files hold the same bytes, read side by side in large blocks; neither is read past `size`,
// the size both had when looked at, so one that grows meanwhile differs. `compared` is told the bytes done so far
// after each block and gives up when it returns false. A file that cannot be read is a failure, with why.
Result<bool> sameContents(const Path& a, const Path& b, qint64 size, const std::function<bool(qint64)>& compared);

// Whether a file written must be on the disk before the program goes on, or may wait in the host's cache: a copy
// the program never reads back, made again whenever it is needed, is not worth the wait.
enum class Durability { Synced, Cached };

// Writes bytes as the whole of target, or leaves target as it was: they go to a temporary file beside it, are
// synced to the disk unless cached, and renamed over it, and nothing is left behind on failure.
Status writeWhole(const Path& target, const QByteArray& bytes, Durability durability = Durability::Synced);
// Whether a name is one of those temporary files: ".tarvok-", six letters or digits, ".part".
bool isTemporaryName(const Path& name);

} // namespace fs
