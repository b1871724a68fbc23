#pragma once

#include "fs/Status.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>
#include <optional>

struct archive;

namespace archives {

// What an entry is, as the archive says.
enum class EntryKind { File, Folder, Link, HardLink, Device, Fifo, Other };

// An entry's header.
struct Entry {
    std::optional<QString> name; // nothing when it cannot be decoded as the archive declares it
    EntryKind kind = EntryKind::Other;
    std::optional<qint64> size; // what it announces, when it announces anything
    bool encrypted = false;
    QString doubt; // why the header is not as it should be; empty when it is
};

// One pass over an archive file through libarchive, entry after entry. It reads only the formats and compressions
// the program unpacks, none of those that read other files or start other programs, and asks libarchive for each
// entry's name as the archive declares it: a zip's as UTF-8 when its flag says so, else in the code page zip tools
// use; a tar's as UTF-8.
class Reader {
public:
    explicit Reader(std::unique_ptr<QFile> file);
    ~Reader();
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    // Whether the file is an archive it reads; nothing can be read from it otherwise.
    const fs::Status& opened() const { return opened_; }

    // The next entry's header; nothing at the archive's end; why it cannot be read on, when it cannot.
    fs::Result<std::optional<Entry>> next();
    // Up to size bytes of the entry's contents into data: how many, 0 at its end, -1 where it is damaged (error()).
    qint64 read(char* data, qint64 size);
    // Why the last step failed, in libarchive's words.
    QString error() const;
    // Whether anything read so far was encrypted: an entry, or the archive's own headers.
    bool encrypted() const;
    // The bytes taken from the archive file so far; a format that goes back for some counts them again.
    qint64 bytesRead() const { return bytesRead_; }

private:
    // What libarchive calls to read the file.
    struct Source;
    friend struct Source;

    ::archive* archive_;
    std::unique_ptr<QFile> file_;
    QByteArray block_;
    qint64 bytesRead_ = 0;
    fs::Status opened_;
};

} // namespace archives
