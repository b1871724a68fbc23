#include "fs/Mark.h"

#include "fs/FileSystem.h"
#include "fs/Journal.h"

#include <QHash>

#include <algorithm>

namespace fs {

namespace {

const Path kMark(".tarvok-made");
// The version tells a mark of a later program, which this one does not read, from one it does.
const QByteArray kFirstLine("Tarvok Car Manager mark 1\n");
// Room for every file of the largest set with its sizes, and the files kept beside it.
constexpr qint64 kMaxMarkBytes = 128 + 2 * kMaxSetFiles * (kMaxJournalNameBytes + 64);

// A file the mark names: its size, and its identity once it is known; until then, a file being written reaches its
// size at most.
struct Noted {
    qint64 size = 0;
    std::optional<host::Identity> identity;
};

struct Marked {
    host::Identity folder;
    QList<Path> order;
    QHash<QByteArray, Noted> files; // by the name's bytes
};

QByteArray identityText(const host::Identity& identity) {
    return QByteArray::number(identity.volume) + ' ' + QByteArray::number(identity.file);
}

std::optional<host::Identity> identityOfText(const QByteArray& volume, const QByteArray& file) {
    bool volumeRead = false;
    bool fileRead = false;
    const host::Identity identity{volume.toULongLong(&volumeRead), file.toULongLong(&fileRead)};
    return volumeRead && fileRead ? std::optional(identity) : std::nullopt;
}

QByteArray entryOf(const Path& name, const Noted& noted) {
    return QByteArray::number(noted.size) + ' ' + identityText(noted.identity.value_or(host::Identity{})) + ' ' +
           host::bytesOfName(name) + '\0';
}

// The mark of folder as it is written, or nothing for anything else: a mark is outside input like any file.
std::optional<Marked> readMark(const Path& folder) {
    if (host::kindOfEntry(folder) != host::Kind::Folder || host::kindOfEntry(folder / kMark) != host::Kind::RegularFile)
        return std::nullopt;
    const Result<QByteArray> bytes = readHead(folder / kMark, kMaxMarkBytes + 1);
    if (!bytes || bytes->size() > kMaxMarkBytes || !bytes->startsWith(kFirstLine))
        return std::nullopt;
    const qsizetype lineEnd = bytes->indexOf('\n', kFirstLine.size());
    const QList<QByteArray> folderIdentity =
        bytes->sliced(kFirstLine.size(), std::max<qsizetype>(lineEnd - kFirstLine.size(), 0)).split(' ');
    Marked marked;
    if (lineEnd < 0 || folderIdentity.size() != 2)
        return std::nullopt;
    const std::optional<host::Identity> identity = identityOfText(folderIdentity[0], folderIdentity[1]);
    if (!identity)
        return std::nullopt;
    marked.folder = *identity;
    for (qsizetype start = lineEnd + 1; start < bytes->size();) {
        const qsizetype end = bytes->indexOf('\0', start);
        if (end < 0)
            return std::nullopt; // an entry cut short by a power cut: nothing it names is known to be the program's
        const QByteArray entry = bytes->sliced(start, end - start);
        const QList<QByteArray> fields = entry.split(' ');
        const qsizetype nameAt = fields.size() < 4 ? -1 : fields[0].size() + fields[1].size() + fields[2].size() + 3;
        bool sized = false;
        const qint64 size = fields.value(0).toLongLong(&sized);
        const std::optional<host::Identity> fileIdentity =
            fields.size() < 4 ? std::nullopt : identityOfText(fields[1], fields[2]);
        if (nameAt < 0 || !sized || size < 0 || !fileIdentity)
            return std::nullopt;
        const QByteArray nameBytes = entry.sliced(nameAt);
        const Path name = host::nameOfBytes(nameBytes);
        if (!isSingleName(name) || name == kMark)
            return std::nullopt;
        if (!marked.files.contains(nameBytes))
            marked.order.append(name);
        marked.files.insert(nameBytes, {size, *fileIdentity == host::Identity{} ? std::nullopt : fileIdentity});
        start = end + 1;
    }
    return marked;
}

std::optional<Marked> ownMark(const Path& folder) {
    std::optional<Marked> marked = readMark(folder);
    if (!marked || host::identityOf(folder) != marked->folder)
        return std::nullopt;
    return marked;
}

// Whether the entry at path is the one the mark notes: the same identity, and for a file the same size, or, while
// it is being written, no more bytes than it was to have. A link the program moved is noted by its identity alone.
bool isAsNoted(const Path& path, const Noted& noted) {
    const host::Kind kind = host::kindOfEntry(path);
    if (!noted.identity)
        return kind == host::Kind::RegularFile && host::entryAt(path).size <= noted.size;
    if (kind == host::Kind::Link)
        return host::identityOf(path) == noted.identity;
    return kind == host::Kind::RegularFile && host::entryAt(path).size == noted.size &&
           host::identityOf(path) == noted.identity;
}

bool isNotedIn(const Marked& marked, const Path& folder, const Path& name) {
    const auto noted = marked.files.constFind(host::bytesOfName(name));
    return noted != marked.files.constEnd() && isAsNoted(folder / name, *noted);
}

} // namespace

bool isOwnFolder(const Path& folder) {
    return ownMark(folder).has_value();
}

Status makeOwnFolder(const Path& folder) {
    if (!host::makeFolder(folder))
        return host::lastFailure();
    const std::optional<host::Identity> identity = host::identityOf(folder);
    std::unique_ptr<QFile> mark = host::createNewFile(folder / kMark);
    const QByteArray first = identity ? kFirstLine + identityText(*identity) + '\n' : QByteArray();
    if (identity && mark && mark->write(first) == first.size())
        return Status::done();
    // Half made, the folder would be no one's: neither the program's to use nor the member's.
    const Status failure = host::lastFailure();
    mark.reset();
    host::removeFile(folder / kMark);
    host::removeFolder(folder);
    return failure;
}

void unmarkFolder(const Path& folder) {
    if (host::kindOfEntry(folder) == host::Kind::Folder)
        host::removeFile(folder / kMark);
}

Status noteArriving(const Path& folder, const Path& name, qint64 size, const std::optional<host::Identity>& identity) {
    return host::appendToFile(folder / kMark, entryOf(name, {size, identity})) ? Status::done() : host::lastFailure();
}

Status sealMark(const Path& folder) {
    const std::optional<Marked> marked = ownMark(folder);
    if (!marked)
        return Status::failed(QStringLiteral("it is no folder of the program's"));
    QByteArray mark = kFirstLine + identityText(marked->folder) + '\n';
    for (const Path& name : marked->order) {
        const Noted& noted = marked->files[host::bytesOfName(name)];
        if (isAsNoted(folder / name, noted))
            mark += entryOf(name, {host::entryAt(folder / name).size, host::identityOf(folder / name)});
    }
    return writeWhole(folder / kMark, mark);
}

bool holdsOnlyOwnFiles(const Path& folder) {
    const std::optional<Marked> marked = ownMark(folder);
    if (!marked)
        return false;
    const QList<Path> names = host::entriesOf(folder);
    return std::all_of(names.begin(), names.end(), [&](const Path& name) {
        return name == kMark || host::kindOfEntry(folder / name) != host::Kind::RegularFile ||
               isNotedIn(*marked, folder, name);
    });
}

bool removeOwnFiles(const Path& folder) {
    if (const std::optional<Marked> marked = ownMark(folder)) {
        for (const Path& name : marked->order)
            if (isAsNoted(folder / name, marked->files[host::bytesOfName(name)]))
                host::removeFile(folder / name);
        // What is left but the mark is not the program's: the mark stays, so the folder is told as its.
        QList<Path> left = host::entriesOf(folder);
        left.removeIf([&](const Path& name) {
            if (!isTemporaryName(name) || host::kindOfEntry(folder / name) != host::Kind::RegularFile)
                return false;
            host::removeFile(folder / name);
            return true;
        });
        if (left == QList{kMark})
            host::removeFile(folder / kMark);
    }
    // A mark alone keeps nothing: one cut short as its folder was made, or one a copy carried.
    if (host::kindOfEntry(folder) == host::Kind::Folder) {
        if (host::entriesOf(folder) == QList{kMark} && host::kindOfEntry(folder / kMark) == host::Kind::RegularFile)
            host::removeFile(folder / kMark);
        host::removeFolder(folder);
    }
    return !anythingAt(folder);
}

bool bearsMark(const Path& folder) {
    return host::kindOfEntry(folder) == host::Kind::Folder &&
           host::kindOfEntry(folder / kMark) == host::Kind::RegularFile;
}

bool holdsAsNoted(const Path& folder, const Path& name) {
    const std::optional<Marked> marked = ownMark(folder);
    return marked && isNotedIn(*marked, folder, name);
}

bool isMarkName(const Path& name) {
    return name == kMark;
}

} // namespace fs
