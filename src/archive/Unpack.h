#pragma once

#include "fs/Path.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace archives {

// A file unpacked: its path below the folder unpacked into, and its size.
struct UnpackedFile {
    fs::Path path;
    qint64 size = 0;
    bool operator==(const UnpackedFile&) const = default;
};

// Why an archive was not unpacked: the entry it stopped at, as the archive names it (empty when the archive as a
// whole is refused), and why, as the member is told ("is encrypted"). Whether the disk had no room is told apart.
struct Refusal {
    QString entry;
    QString reason;
    bool noRoom = false;
    bool operator==(const Refusal&) const = default;
};

// How an unpacking ended: every file unpacked, or refused, or given up by the member; nothing unpacked is kept
// unless all is.
struct Unpacked {
    QList<UnpackedFile> files; // in the archive's order
    QList<fs::Path> folders;   // every folder made, each after the one it lies in
    std::optional<Refusal> refusal;
    bool cancelled = false;
    bool ok() const { return !refusal && !cancelled; }
};

// Told, after each block, the bytes written and the bytes of the archive file read so far, and asked whether the
// member has given up.
struct UnpackWatch {
    std::function<void(qint64 written, qint64 read)> progress;
    std::function<bool()> cancelled;
};

// The bounds an archive must keep to.
struct UnpackLimits {
    int entries = 100'000;
    // What the disk keeps free, whatever the archive holds.
    qint64 keepFree = qint64(1) << 30;
};

// Unpacks the archive file at `archive` (zip, 7z, RAR, tar alone or with gzip, xz or bzip2) into the existing empty
// folder `into`, in one pass over the archive: each regular file written whole, then synced, below the folders its
// name gives. Every entry is outside input: a name that leads out of `into`, that Windows could not hold, that
// cannot be decoded, or that Windows would take for another entry's, a link, a hard link, a device or a FIFO, an
// encrypted entry, a damaged archive, an entry giving more bytes than it announced, more entries than the limit,
// or a file for which the disk has no room above what it keeps free: each is refused, and nothing stays in `into`.
Unpacked unpack(const fs::Path& archive, const fs::Path& into, const UnpackWatch& watch,
                const UnpackLimits& limits = {});

} // namespace archives
