#include "archive/Unpack.h"

#include "archive/EntryName.h"
#include "archive/Log.h"
#include "archive/Reader.h"
#include "fs/FileSystem.h"
#include "fs/HostFile.h"

#include <QSet>
#include <QStorageInfo>

namespace archives {

namespace {

constexpr qint64 kBlockBytes = 1024 * 1024;

// The host's reason, but a full disk in the words every box of the program uses for it.
QString reasonOf(const fs::Status& failure) {
    return failure.noRoom() ? QStringLiteral("no room left on the disk") : failure.reason();
}

// Why a file call on a file being unpacked failed, as the member is told.
fs::Status hostFailure() {
    const fs::Status failure = fs::host::lastFailure();
    return fs::Status::failed(QStringLiteral("could not be unpacked: ") + reasonOf(failure), failure.noRoom());
}

QString kindText(EntryKind kind) {
    switch (kind) {
    case EntryKind::Link:
        return QStringLiteral("is a link");
    case EntryKind::HardLink:
        return QStringLiteral("is a hard link");
    case EntryKind::Device:
        return QStringLiteral("is a device");
    case EntryKind::Fifo:
        return QStringLiteral("is a FIFO");
    default:
        return QStringLiteral("is neither a file nor a folder");
    }
}

fs::Path pathOf(const QStringList& parts) {
    fs::Path path;
    for (const QString& part : parts)
        path /= fs::fromQt(part);
    return path;
}

// An unpacking under way, which removes what it made unless it ends well.
class Unpacker {
public:
    Unpacker(const fs::Path& into, const UnpackWatch& watch, const UnpackLimits& limits)
        : into_(into), watch_(watch), limits_(limits), block_(kBlockBytes, Qt::Uninitialized) {}

    Unpacked run(Reader& reader);

private:
    // Why the entry cannot be unpacked; nothing once it is.
    std::optional<Refusal> unpackEntry(Reader& reader, const Entry& entry, const QString& shown);
    fs::Status makeFolders(const QStringList& parts);
    fs::Status roomFor(qint64 size);
    fs::Status write(Reader& reader, const fs::Path& path, qint64 size);
    fs::Status syncAll();
    bool cancelled();
    // Removes what was made, for the refusal or the member's giving up.
    Unpacked undone(std::optional<Refusal> refusal = std::nullopt);

    const fs::Path into_;
    const UnpackWatch& watch_;
    const UnpackLimits limits_;
    QByteArray block_;
    Unpacked unpacked_;
    EntryPaths paths_;
    QSet<QString> made_;
    qint64 written_ = 0;
    qint64 free_ = -1; // at the last look, less what was announced since
};

Unpacked Unpacker::run(Reader& reader) {
    QString last;
    for (int number = 1;; ++number) {
        if (cancelled())
            return undone();
        const fs::Result<std::optional<Entry>> next = reader.next();
        if (!next) {
            const QString why = reader.encrypted() ? QStringLiteral("is encrypted")
                                                   : QStringLiteral("is damaged (%1)").arg(next.status().reason());
            // What broke is the entry after the last one read, whose name is not known.
            return undone(Refusal{last, last.isEmpty() ? why : QStringLiteral("is followed by an entry that ") + why});
        }
        if (!next->has_value())
            break;
        const Entry& entry = **next;
        last = entry.name.value_or(QStringLiteral("entry %1").arg(number));
        if (number > limits_.entries)
            return undone(
                Refusal{last, QStringLiteral("is past the %L1 entries an archive may hold").arg(limits_.entries)});
        if (std::optional<Refusal> refusal = unpackEntry(reader, entry, last))
            return undone(std::move(refusal));
        if (unpacked_.cancelled)
            return undone();
    }
    if (const fs::Status synced = syncAll(); !synced.ok())
        return undone(
            Refusal{{}, QStringLiteral("could not be written to the disk: ") + reasonOf(synced), synced.noRoom()});
    return unpacked_;
}

std::optional<Refusal> Unpacker::unpackEntry(Reader& reader, const Entry& entry, const QString& shown) {
    const auto refused = [&](const QString& why, bool noRoom = false) { return Refusal{shown, why, noRoom}; };
    if (!entry.name)
        return refused(QStringLiteral("has a name that cannot be decoded as the archive declares it"));
    if (entry.encrypted)
        return refused(QStringLiteral("is encrypted"));
    if (!entry.doubt.isEmpty())
        return refused(QStringLiteral("is damaged (%1)").arg(entry.doubt));
    const bool folder = entry.kind == EntryKind::Folder;
    if (!folder && entry.kind != EntryKind::File)
        return refused(kindText(entry.kind));
    const fs::Result<QStringList> parts = partsOfEntryName(*entry.name);
    if (!parts)
        return refused(parts.status().reason());
    if (parts->isEmpty())
        return folder ? std::nullopt : std::optional(refused(QStringLiteral("has no name")));
    if (const fs::Status added = paths_.add(*parts, folder); !added.ok())
        return refused(added.reason());
    const fs::Status made = makeFolders(folder ? *parts : parts->first(parts->size() - 1));
    if (!made.ok())
        return refused(QStringLiteral("could not be unpacked: ") + reasonOf(made), made.noRoom());
    if (folder)
        return std::nullopt;
    if (!entry.size || *entry.size < 0)
        return refused(QStringLiteral("does not say how large it is"));
    if (const fs::Status room = roomFor(*entry.size); !room.ok())
        return refused(room.reason(), room.noRoom());
    const fs::Status written = write(reader, pathOf(*parts), *entry.size);
    if (written.ok() || unpacked_.cancelled)
        return std::nullopt;
    return refused(written.reason(), written.noRoom());
}

fs::Status Unpacker::makeFolders(const QStringList& parts) {
    for (qsizetype count = 1; count <= parts.size(); ++count) {
        const QStringList folder = parts.first(count);
        if (made_.contains(folder.join(QLatin1Char('/'))))
            continue;
        if (!fs::host::makeFolder(into_ / pathOf(folder)))
            return fs::host::lastFailure();
        made_.insert(folder.join(QLatin1Char('/')));
        unpacked_.folders.append(pathOf(folder));
    }
    return fs::Status::done();
}

fs::Status Unpacker::roomFor(qint64 size) {
    // The disk is looked at again only when what is left of the last look would not do, so a file costs no look.
    if (free_ - size < limits_.keepFree)
        free_ = QStorageInfo(fs::displayName(into_)).bytesAvailable();
    if (free_ < 0)
        return fs::Status::failed(QStringLiteral("could not be unpacked: the free room on the disk cannot be told"));
    if (free_ - size < limits_.keepFree)
        return fs::Status::failed(QStringLiteral("does not fit on the disk: the program always leaves %L1 MB free")
                                      .arg(limits_.keepFree / (1024 * 1024)),
                                  true);
    free_ -= size;
    return fs::Status::done();
}

fs::Status Unpacker::write(Reader& reader, const fs::Path& path, qint64 size) {
    const std::unique_ptr<QFile> output = fs::host::createNewFile(into_ / path);
    if (!output)
        return hostFailure();
    // Listed before it is written, so that it goes with the rest when the archive is refused part way.
    unpacked_.files.append({path, size});
    qint64 got = 0;
    for (;;) {
        if (cancelled())
            return fs::Status::failed(QStringLiteral("cancelled"));
        const qint64 block = reader.read(block_.data(), block_.size());
        if (block < 0)
            return fs::Status::failed(reader.encrypted() ? QStringLiteral("is encrypted")
                                                         : QStringLiteral("is damaged (%1)").arg(reader.error()));
        if (block == 0)
            break;
        got += block;
        if (got > size)
            return fs::Status::failed(
                QStringLiteral("holds more than the %L1 bytes it announces, as an archive bomb does").arg(size));
        if (output->write(block_.constData(), block) != block)
            return hostFailure();
        written_ += block;
        if (watch_.progress)
            watch_.progress(written_, reader.bytesRead());
    }
    if (got < size)
        return fs::Status::failed(
            QStringLiteral("is damaged (it holds %L1 of the %L2 bytes it announces)").arg(got).arg(size));
    return fs::host::syncStagedFile(*output) ? fs::Status::done() : hostFailure();
}

// Each file's writing to the disk was started as it was written; this waits for it all, and for the folders' entries.
fs::Status Unpacker::syncAll() {
    for (const fs::Path& folder : std::as_const(unpacked_.folders))
        if (!fs::host::syncStagedFolder(into_ / folder))
            return fs::host::lastFailure();
    return fs::host::syncStagedFolder(into_) ? fs::Status::done() : fs::host::lastFailure();
}

bool Unpacker::cancelled() {
    if (!unpacked_.cancelled && watch_.cancelled)
        unpacked_.cancelled = watch_.cancelled();
    return unpacked_.cancelled;
}

Unpacked Unpacker::undone(std::optional<Refusal> refusal) {
    for (auto file = unpacked_.files.crbegin(); file != unpacked_.files.crend(); ++file)
        fs::host::removeFile(into_ / file->path);
    for (auto folder = unpacked_.folders.crbegin(); folder != unpacked_.folders.crend(); ++folder)
        fs::host::removeFolder(into_ / *folder);
    Unpacked unpacked;
    unpacked.refusal = std::move(refusal);
    unpacked.cancelled = unpacked_.cancelled;
    return unpacked;
}

} // namespace

Unpacked unpack(const fs::Path& archive, const fs::Path& into, const UnpackWatch& watch, const UnpackLimits& limits) {
    Unpacked unpacked;
    if (fs::host::kindOfEntry(into) != fs::host::Kind::Folder) {
        unpacked.refusal = Refusal{{}, QStringLiteral("cannot be unpacked: the folder to unpack it into is not there")};
    } else if (std::unique_ptr<QFile> file = fs::host::openRegularFile(archive); !file) {
        unpacked.refusal = Refusal{{}, QStringLiteral("cannot be opened: ") + fs::failedToOpen(archive).reason()};
    } else if (Reader reader(std::move(file)); !reader.opened().ok()) {
        unpacked.refusal =
            Refusal{{}, QStringLiteral("cannot be read as an archive (%1)").arg(reader.opened().reason())};
    } else {
        unpacked = Unpacker(into, watch, limits).run(reader);
    }
    if (unpacked.refusal)
        qCWarning(archiveLog).noquote() << QStringLiteral("%1 is not unpacked: %2 %3")
                                               .arg(fs::displayName(archive), unpacked.refusal->entry,
                                                    unpacked.refusal->reason)
                                               .simplified();
    return unpacked;
}

} // namespace archives
