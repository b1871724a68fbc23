#include "fs/FileSystem.h"

#include "fs/HostFile.h"

#include <QRandomGenerator>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <string_view>
#include <vector>

namespace fs {

namespace {

constexpr qint64 kCopyBlockBytes = 8 * 1024 * 1024;
constexpr qint64 kCompareBlockBytes = 1024 * 1024;
// Files of two car sets mostly differ early, so the first block read is small.
constexpr qint64 kFirstCompareBytes = 64 * 1024;

// A name of fixed length that no wildcard of the program matches, so the longest name the host allows can
// still be written; a clash is as unlikely as the same random name twice in two billion.
Path temporaryNameBeside(const Path& target) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QString name = QStringLiteral(".tarvok-");
    for (int i = 0; i < 6; ++i)
        name += QLatin1Char(kLetters[QRandomGenerator::global()->bounded(36)]);
    return target.parent_path() / fromQt(name + QStringLiteral(".part"));
}

// Each name is decoded and folded once, not at every comparison, and only their positions move while they are
// sorted: ten thousand packs take many comparisons.
QList<ShownName> sortedAsShown(const QList<Path>& names) {
    QStringList shown;
    QStringList keys;
    shown.reserve(names.size());
    keys.reserve(names.size());
    for (const Path& name : names) {
        shown.append(displayName(name));
        keys.append(shown.last().toCaseFolded());
    }
    std::vector<qsizetype> order(static_cast<std::size_t>(names.size()));
    std::iota(order.begin(), order.end(), 0);
    // Compared unit by unit, as Qt compares with regard to case, without its set-up for long texts; names that
    // differ only in case keep one order from run to run.
    const auto units = [](const QString& text) {
        return std::u16string_view(QStringView(text).utf16(), static_cast<std::size_t>(text.size()));
    };
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const int byKey = units(keys.at(a)).compare(units(keys.at(b)));
        return byKey != 0 ? byKey < 0 : units(shown.at(a)) < units(shown.at(b));
    });
    QList<ShownName> sorted;
    sorted.reserve(names.size());
    for (const qsizetype at : order)
        sorted.append({names[at], shown[at]});
    return sorted;
}

} // namespace

qint64 host::copyByReading(QFile& input, QFile& output, qint64 done, qint64 size,
                           const std::function<bool(qint64)>& wrote) {
    QByteArray block;
    while (done < size && !(block = input.read(std::min(kCopyBlockBytes, size - done))).isEmpty()) {
        if (output.write(block) != block.size())
            return -1;
        done += block.size();
        if (!wrote(done))
            return -1;
    }
    return input.error() == QFileDevice::NoError ? done : -1;
}

host::Kind host::kindOf(const Path& path) {
    return entryAt(path).kind;
}

bool anythingAt(const Path& path) {
    return host::kindOfEntry(path) != host::Kind::Missing;
}

bool isLink(const Path& path) {
    return host::kindOfEntry(path) == host::Kind::Link;
}

bool isFolder(const Path& path) {
    return host::kindOf(path) == host::Kind::Folder;
}

bool isFile(const Path& path) {
    return host::kindOf(path) == host::Kind::RegularFile;
}

bool leadsOutside(const Path& root, const Path& path) {
    Path at = root;
    bool linked = false;
    for (const Path& part : path.lexically_relative(root))
        linked = linked || isLink(at /= part);
    if (!linked)
        return false;
    // One that leads nowhere reads nothing: opening it fails, with its own reason.
    std::error_code failed;
    const Path real = std::filesystem::canonical(path, failed);
    const Path realRoot = failed ? Path() : std::filesystem::canonical(root, failed);
    if (failed)
        return false;
    const Path inside = real.lexically_relative(realRoot);
    return inside.empty() || *inside.begin() == Path("..");
}

QList<ShownName> subfolders(const Path& folder) {
    return sortedAsShown(host::entriesOf(folder, host::Kind::Folder));
}

QList<Path> filesEndingIn(const Path& folder, const QString& suffix) {
    QList<Path> names = host::entriesOf(folder, host::Kind::RegularFile);
    names.removeIf([&](const Path& name) { return !host::endsWith(name, suffix); });
    QList<Path> sorted;
    sorted.reserve(names.size());
    for (ShownName& each : sortedAsShown(names))
        sorted.append(std::move(each.name));
    return sorted;
}

Status failedToOpen(const Path& path) {
    const QString reason = host::lastError();
    return Status::failed(host::kindOf(path) == host::Kind::Other ? QStringLiteral("not a regular file") : reason);
}

void removeFile(const Path& path) {
    host::removeFile(path);
}

Status moveFolder(const Path& from, const Path& to) {
    if (anythingAt(to))
        return Status::failed(QStringLiteral("something of that name is in the way"));
    if (!host::renameOver(from, to))
        return host::lastFailure();
    host::syncFolder(to.parent_path());
    return Status::done();
}

qint64 sizeOf(const Path& file) {
    return regularFileSize(file).value_or(0);
}

Result<qint64> regularFileSize(const Path& path) {
    const host::Entry entry = host::entryAt(path);
    switch (entry.kind) {
    case host::Kind::RegularFile:
        return entry.size;
    case host::Kind::Missing:
        return Status::failed(QStringLiteral("not there"));
    case host::Kind::Folder:
        return Status::failed(QStringLiteral("a folder"));
    case host::Kind::Other:
    case host::Kind::Link:
        break;
    }
    return Status::failed(QStringLiteral("not a regular file"));
}

Result<bool> sameContents(const Path& a, const Path& b, qint64 size, const std::function<bool(qint64)>& compared) {
    const std::unique_ptr<QFile> first = host::openRegularFile(a);
    if (!first)
        return failedToOpen(a);
    const std::unique_ptr<QFile> second = host::openRegularFile(b);
    if (!second)
        return failedToOpen(b);
    QByteArray blockA(kCompareBlockBytes, Qt::Uninitialized);
    QByteArray blockB(kCompareBlockBytes, Qt::Uninitialized);
    // One byte past `size` tells a file that has grown from one that ends there.
    for (qint64 done = 0; done <= size;) {
        const qint64 wanted = std::min(done == 0 ? kFirstCompareBytes : kCompareBlockBytes, size + 1 - done);
        const qint64 readA = first->read(blockA.data(), wanted);
        const qint64 readB = second->read(blockB.data(), wanted);
        if (readA < 0 || readB < 0)
            return Status::failed((readA < 0 ? first : second)->errorString());
        if (readA != readB || std::memcmp(blockA.constData(), blockB.constData(), static_cast<size_t>(readA)) != 0)
            return false;
        // QFile reads on until it has all it was asked for, so a short block has met the end of both.
        if (readA < wanted)
            return done + readA == size;
        done += readA;
        if (!compared(done))
            return false;
    }
    return false;
}

Status writeWhole(const Path& target, const QByteArray& bytes, Durability durability) {
    if (isFolder(target))
        return Status::failed(QStringLiteral("a folder of that name is in the way"));
    const Path temporary = temporaryNameBeside(target);
    Status status = Status::done();
    {
        const std::unique_ptr<QFile> output = host::createNewFile(temporary);
        if (!output)
            return host::lastFailure();
        if (output->write(bytes) != bytes.size() || (durability == Durability::Synced && !host::syncToDisk(*output)))
            status = host::lastFailure();
    }
    if (status.ok() && !host::renameOver(temporary, target))
        status = host::lastFailure();
    if (!status.ok())
        host::removeFile(temporary);
    return status;
}

// No regular expression: this runs on the copies' thread, and a static Windows build crashes as such a thread
// ends once it has matched one (Qt keeps a thread-local JIT stack).
bool isTemporaryName(const Path& name) {
    const QString text = displayName(name);
    const QStringView letters = QStringView(text).mid(8, 6);
    return text.size() == 19 && text.startsWith(QLatin1String(".tarvok-")) && text.endsWith(QLatin1String(".part")) &&
           std::all_of(letters.begin(), letters.end(),
                       [](QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'); });
}

} // namespace fs
