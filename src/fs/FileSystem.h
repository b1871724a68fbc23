#pragma once

#include "fs/Path.h"

#include <QByteArray>
#include <QList>

#include <functional>
#include <optional>

// The host file system as the program uses it. Every operation reports its outcome instead of
// throwing, so each caller decides whether to go on with its next step.
namespace fs {

bool isFolder(const Path& path);
// A regular file once symbolic links are followed: never a FIFO or a device.
bool isFile(const Path& path);

// The names of a folder's immediate subfolders, sorted as shown, without regard to letter case.
QList<Path> subfolders(const Path& folder);
// The names of a folder's regular files that end in suffix (".tex"), compared as the host compares names.
QList<Path> filesEndingIn(const Path& folder, const QString& suffix);

// The first maxBytes of a regular file, or all of a shorter one; nothing when it is not a regular file
// or cannot be read.
std::optional<QByteArray> readHead(const Path& file, qint64 maxBytes);

// True when the folder is there afterwards, made now or before.
bool createFolder(const Path& path);
bool removeFile(const Path& path);
qint64 sizeOf(const Path& file);

// Told, as they happen, of the bytes a copy has just written and of each file it has finished.
using CopyProgress = std::function<void(qint64 newBytes, int newFiles)>;

enum class CopyResult { Copied, SourceMissing, Failed };
// Copies a regular file whole or not at all: it is written under a temporary name beside target,
// synced to the disk and renamed over target. On failure target is as it was and nothing is left behind.
CopyResult copyWhole(const Path& source, const Path& target, const CopyProgress& progress = {});
// Writes bytes as the whole of target the same way.
bool writeWhole(const Path& target, const QByteArray& bytes);

} // namespace fs
