#include "fs/FileSystem.h"

#include "fs/HostFile.h"

#include <QRandomGenerator>

#include <algorithm>

namespace fs {

namespace {

constexpr qint64 kReadBlockBytes = 64 * 1024;
constexpr qint64 kCopyBlockBytes = 8 * 1024 * 1024;

// Opens a temporary sibling of target, lets fill write it, then syncs and renames it over target.
// Anything that fails leaves target untouched and no temporary file behind.
template <typename Fill> bool replaceWhole(const Path& target, Fill&& fill) {
    if (host::kindOf(target) == host::Kind::Folder)
        return false;
    std::optional<host::TemporaryFile> temporary = host::createTemporaryBeside(target);
    if (!temporary)
        return false;
    const bool written = fill(*temporary->file) && temporary->file->flush() && host::syncToDisk(*temporary->file);
    temporary->file->close();
    if (written && host::renameOver(temporary->path, target))
        return true;
    host::removeFile(temporary->path);
    return false;
}

// Each name is decoded once, not at every comparison: ten thousand packs take many.
QList<Path> sortedAsShown(const QList<Path>& names) {
    QList<std::pair<QString, Path>> shown;
    shown.reserve(names.size());
    for (const Path& name : names)
        shown.append({displayName(name), name});
    std::sort(shown.begin(), shown.end(),
              [](const auto& a, const auto& b) { return a.first.compare(b.first, Qt::CaseInsensitive) < 0; });
    QList<Path> sorted;
    sorted.reserve(shown.size());
    for (const auto& [text, name] : shown)
        sorted.append(name);
    return sorted;
}

} // namespace

bool host::copyByReading(QFile& input, QFile& output, qint64 done, const std::function<void(qint64)>& progress) {
    QByteArray block;
    while (!(block = input.read(kCopyBlockBytes)).isEmpty()) {
        if (output.write(block) != block.size())
            return false;
        done += block.size();
        progress(done);
    }
    return input.error() == QFileDevice::NoError;
}

Path host::temporaryNameBeside(const Path& target) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QString name = QStringLiteral(".tarvok-");
    for (int i = 0; i < 6; ++i)
        name += QLatin1Char(kLetters[QRandomGenerator::global()->bounded(36)]);
    return target.parent_path() / fromQt(name + QStringLiteral(".part"));
}

bool isFolder(const Path& path) {
    return host::kindOf(path) == host::Kind::Folder;
}

bool isFile(const Path& path) {
    return host::kindOf(path) == host::Kind::RegularFile;
}

QList<Path> subfolders(const Path& folder) {
    return sortedAsShown(host::entriesOf(folder, host::Kind::Folder));
}

QList<Path> filesEndingIn(const Path& folder, const QString& suffix) {
    QList<Path> names = host::entriesOf(folder, host::Kind::RegularFile);
    names.removeIf([&](const Path& name) { return !host::endsWith(name, suffix); });
    return sortedAsShown(names);
}

std::optional<QByteArray> readHead(const Path& file, qint64 maxBytes) {
    const std::unique_ptr<QFile> input = host::openRegularFile(file);
    if (!input)
        return std::nullopt;
    QByteArray bytes;
    // One byte more than the file's size finds its end in one read; a file still growing reads on.
    qint64 wanted = std::min(maxBytes, input->size() + 1);
    while (wanted > 0) {
        const QByteArray block = input->read(wanted);
        bytes += block;
        // QFile reads on until it has all it was asked for, so a short block has met the end.
        if (block.size() < wanted)
            break;
        wanted = std::min(maxBytes - bytes.size(), kReadBlockBytes);
    }
    if (input->error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

bool createFolder(const Path& path) {
    return host::makeFolder(path) || isFolder(path);
}

bool removeFile(const Path& path) {
    return host::removeFile(path);
}

qint64 sizeOf(const Path& file) {
    const std::unique_ptr<QFile> input = host::openRegularFile(file);
    return input ? input->size() : 0;
}

CopyResult copyWhole(const Path& source, const Path& target, const CopyProgress& progress) {
    const std::unique_ptr<QFile> input = host::openRegularFile(source);
    if (!input)
        return CopyResult::SourceMissing;
    qint64 reported = 0;
    const bool copied = replaceWhole(target, [&](QFile& output) {
        host::copyPermissions(*input, output);
        return host::copyContents(*input, output, [&](qint64 done) {
            if (progress)
                progress(done - reported, 0);
            reported = done;
        });
    });
    return copied ? CopyResult::Copied : CopyResult::Failed;
}

bool writeWhole(const Path& target, const QByteArray& bytes) {
    return replaceWhole(target, [&](QFile& output) { return output.write(bytes) == bytes.size(); });
}

} // namespace fs
