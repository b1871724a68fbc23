#pragma once

#include "fs/Path.h"

#include <QFile>

#include <functional>
#include <memory>

// The few operations that differ between hosts, kept here so nothing else calls the host directly.
namespace fs::host {

enum class Kind { Missing, Folder, RegularFile, Other };

// What path names once symbolic links are followed; a FIFO or a device is Other.
Kind kindOf(const Path& path);

// Opens path for reading only when, on the opened handle, it is a regular file; opening never
// waits for a FIFO's writer. Nothing for anything else.
std::unique_ptr<QFile> openRegularFile(const Path& path);

// A new empty file beside target under a name of fixed length that no wildcard of the program
// matches, so the longest name the host allows can still be written; opened for writing.
struct TemporaryFile {
    Path path;
    std::unique_ptr<QFile> file;
};
std::optional<TemporaryFile> createTemporaryBeside(const Path& target);
// That name: ".tarvok-" and six random letters or digits, then ".part"; a clash with an existing name is
// as unlikely as the same random name twice in two billion.
Path temporaryNameBeside(const Path& target);

// Copies all of input into output with the fastest copy the host offers, reporting the bytes
// copied so far after each block.
bool copyContents(QFile& input, QFile& output, const std::function<void(qint64)>& progress);
// The copy every host can fall back on: blocks read and written, going on from `done` bytes.
bool copyByReading(QFile& input, QFile& output, qint64 done, const std::function<void(qint64)>& progress);

// Gives a written file the permissions of the file it copies.
void copyPermissions(const QFile& from, QFile& to);

// Pushes a written file's data to the disk, so a rename over the target never exposes a file whose
// data is not there after a power cut.
bool syncToDisk(QFile& file);

// Renames from over to, replacing an existing file of that name in one step.
bool renameOver(const Path& from, const Path& to);

bool removeFile(const Path& path);
bool makeFolder(const Path& path);

// The names in a folder of the kind wanted, symbolic links followed.
QList<Path> entriesOf(const Path& folder, Kind wanted);

// Whether a name ends in suffix, compared as the host compares names.
bool endsWith(const Path& name, const QString& suffix);

// Whether a name, though a single one, names something other than an entry of the folder: on Windows a
// device such as CON or NUL, or a stream after ":".
bool isReservedName(const QString& name);

} // namespace fs::host
