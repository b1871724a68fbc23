#pragma once

#include "fs/Path.h"
#include "fs/Status.h"

#include <QByteArray>
#include <QFile>

#include <functional>
#include <memory>
#include <optional>

// The few operations that differ between hosts, kept here so nothing else calls the host directly. Each
// that fails leaves its reason for lastError().
namespace fs::host {

enum class Kind { Missing, Folder, RegularFile, Other, Link };

// What a bounded read asks for at a time once a file has grown past the size it had when opened.
inline constexpr qint64 kReadBlockBytes = 64 * 1024;

// What path names once symbolic links are followed; a FIFO or a device is Other.
Kind kindOf(const Path& path);
// The same with a regular file's size, both from the folder entry alone: nothing of the file is read.
struct Entry {
    Kind kind = Kind::Missing;
    qint64 size = 0;
};
Entry entryAt(const Path& path);
// What path is itself, a link not followed: a symbolic link, and on Windows every reparse point (a junction
// too), is Link.
Kind kindOfEntry(const Path& path);

// The host's words for why the last operation of this thread failed.
QString lastError();
// The same as a status, which tells whether the disk had no room for what was written.
Status lastFailure();

// Opens path for reading only when, on the opened handle, it is a regular file; opening never
// waits for a FIFO's writer. Nothing for anything else.
std::unique_ptr<QFile> openRegularFile(const Path& path);

// Creates path as a new empty file, opened for writing; nothing when something of that name is there.
std::unique_ptr<QFile> createNewFile(const Path& path);

// Copies the first `size` bytes of input into output with the fastest copy the host offers, telling `wrote` the
// bytes copied so far after each block: the bytes copied, fewer where input ended sooner, or -1 when a call failed
// or `wrote` returned false to give up. Never more, so a file that never ends cannot fill the disk.
qint64 copyContents(QFile& input, QFile& output, qint64 size, const std::function<bool(qint64)>& wrote);
// The copy every host can fall back on: blocks read and written, going on from `done` bytes.
qint64 copyByReading(QFile& input, QFile& output, qint64 done, qint64 size, const std::function<bool(qint64)>& wrote);

// Gives a written file the permissions of the file it copies.
void copyPermissions(const QFile& from, QFile& to);

// Pushes a written file's data to the disk, so a rename over the target never exposes a file whose
// data is not there after a power cut.
bool syncToDisk(QFile& file);
// Pushes a folder's entries to the disk, so the renames made in it survive a power cut.
bool syncFolder(const Path& folder);
// The same for the many files of a copy: each is synced, or its sync started, as it is written (syncStagedFile),
// then what was started is waited for, with the folder's entries, once all are written (syncStagedFolder).
bool syncStagedFile(QFile& file);
bool syncStagedFolder(const Path& folder);

// What the file system calls an entry itself, a link not followed: on Linux its device and inode, on Windows its
// volume's serial number and file index. A copy of a file or folder never has the identity of the original.
struct Identity {
    quint64 volume = 0;
    quint64 file = 0;
    bool operator==(const Identity&) const = default;
};
std::optional<Identity> identityOf(const Path& path);

// Adds bytes at the end of a file that is there, not through a link.
bool appendToFile(const Path& path, const QByteArray& bytes);

// Renames from over to, replacing an existing file of that name in one step.
bool renameOver(const Path& from, const Path& to);

// The host's lock on the file at path, made when missing: held until releaseLock, or until the process ends
// however it ends, and refused to every other handle, in this process too. Nothing when it cannot be had:
// heldElsewhere says whether another handle holds it, lastError() why else.
std::unique_ptr<QFile> lockFile(const Path& path, bool& heldElsewhere);
// Removes the file and lets go of the lock.
void releaseLock(const Path& path, std::unique_ptr<QFile> lock);

bool makeFolder(const Path& path);
// A file or folder that cannot go stays, to be tried again when the program next clears up.
void removeFile(const Path& path);
void removeFolder(const Path& path);
// Lets a file or folder the member marked read-only go, where the host would keep it for the mark alone (Windows).
void allowRemoval(const Path& path);

// Why the file at path cannot be moved or replaced now, or put there; nothing when it can.
std::optional<Obstacle> obstacleTo(const Path& path);

// The names in a folder of the kind wanted, symbolic links followed; every name when no kind is wanted.
QList<Path> entriesOf(const Path& folder, std::optional<Kind> wanted = std::nullopt);

// Whether a name ends in suffix, compared as the host compares names.
bool endsWith(const Path& name, const QString& suffix);

// A name as bytes that give back the same name, whatever it holds.
QByteArray bytesOfName(const Path& name);
Path nameOfBytes(const QByteArray& bytes);

// Whether a name, though a single one, names something other than an entry of the folder: on Windows a
// device such as CON or NUL.
bool isReservedName(const Path& name);

} // namespace fs::host
