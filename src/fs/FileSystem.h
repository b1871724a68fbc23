#pragma once

#include "fs/Path.h"
#include "fs/Status.h"

#include <QByteArray>
#include <QList>

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

// The names of a folder's immediate subfolders, sorted as shown, without regard to letter case.
QList<Path> subfolders(const Path& folder);
// The names of a folder's regular files that end in suffix (".tex"), compared as the host compares names.
QList<Path> filesEndingIn(const Path& folder, const QString& suffix);

// The first maxBytes of a regular file, or all of a shorter one; nothing when it is not a regular file
// or cannot be read.
Result<QByteArray> readHead(const Path& file, qint64 maxBytes);

// Why the regular file at path could not be opened, just after it could not.
Status failedToOpen(const Path& path);

// Done when the folder is there afterwards, made now or before.
Status createFolder(const Path& path);
void removeFile(const Path& path);
// Renames a folder to a name that is free.
Status moveFolder(const Path& from, const Path& to);
qint64 sizeOf(const Path& file);

// Writes bytes as the whole of target, or leaves target as it was: they go to a temporary file beside it,
// are synced to the disk and renamed over it, and nothing is left behind on failure.
Status writeWhole(const Path& target, const QByteArray& bytes);
// Whether a name is one of those temporary files: ".tarvok-", six letters or digits, ".part".
bool isTemporaryName(const Path& name);

} // namespace fs
