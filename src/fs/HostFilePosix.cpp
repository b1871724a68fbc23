#include "fs/FileSystem.h"
#include "fs/HostFile.h"

#include <QScopeGuard>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string_view>

namespace fs::host {

namespace {

constexpr qint64 kBlockBytes = 8 * 1024 * 1024;
// Without O_NONBLOCK, opening a FIFO waits for a writer that never comes; reading a regular file never waits, so
// the flag can stay.
constexpr int kReadFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;

// The QFile closes the descriptor when it goes.
std::unique_ptr<QFile> adopt(int fd, QIODevice::OpenMode mode) {
    auto file = std::make_unique<QFile>();
    file->open(fd, mode | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle);
    return file;
}

// Syncs what path names through a handle opened for it alone.
bool syncOpened(const Path& path, int flags) {
    const int fd = ::open(path.c_str(), flags);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

Kind kindOfMode(mode_t mode) {
    if (S_ISLNK(mode))
        return Kind::Link;
    if (S_ISDIR(mode))
        return Kind::Folder;
    return S_ISREG(mode) ? Kind::RegularFile : Kind::Other;
}

// Opens path relative to the folder (or the current one) and reads its head: one open, one look at what it opened,
// and for a file that keeps the size it had, one read and one close.
Result<QByteArray> readHeadAt(int folder, const char* path, qint64 maxBytes) {
    const int fd = ::openat(folder, path, kReadFlags);
    if (fd < 0)
        return Status::failed(lastError());
    const auto closing = qScopeGuard([fd] { ::close(fd); });
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return Status::failed(lastError());
    if (!S_ISREG(info.st_mode))
        return Status::failed(QStringLiteral("not a regular file"));
    // One byte more than the file's size finds its end in one read; a file still growing reads on.
    QByteArray bytes(std::min<qint64>(maxBytes, info.st_size + 1), Qt::Uninitialized);
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + done, static_cast<size_t>(bytes.size() - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return Status::failed(lastError());
        done += got;
        // Nothing more, or less than asked once past the size the file had: its end.
        if (got == 0 || (done < bytes.size() && done >= info.st_size))
            break;
        if (done == bytes.size() && done < maxBytes)
            bytes.resize(std::min(maxBytes, done + kReadBlockBytes));
    }
    bytes.resize(done);
    return bytes;
}

} // namespace

Entry entryAt(const Path& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0)
        return {};
    const Kind kind = kindOfMode(info.st_mode);
    return {kind, kind == Kind::RegularFile ? qint64(info.st_size) : 0};
}

Kind kindOfEntry(const Path& path) {
    struct stat info {};
    return path.empty() || ::lstat(path.c_str(), &info) != 0 ? Kind::Missing : kindOfMode(info.st_mode);
}

QString lastError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

Status lastFailure() {
    // A file larger than the file system or the member's quota allows is as much a want of room.
    const bool noRoom = errno == ENOSPC || errno == EDQUOT || errno == EFBIG;
    return Status::failed(lastError(), noRoom);
}

std::unique_ptr<QFile> openRegularFile(const Path& path) {
    if (path.empty())
        return nullptr;
    const int fd = ::open(path.c_str(), kReadFlags);
    if (fd < 0)
        return nullptr;
    std::unique_ptr<QFile> file = adopt(fd, QIODevice::ReadOnly);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        return nullptr;
    return file;
}

std::unique_ptr<QFile> createNewFile(const Path& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    return fd < 0 ? nullptr : adopt(fd, QIODevice::WriteOnly);
}

qint64 copyContents(QFile& input, QFile& output, qint64 size, const std::function<bool(qint64)>& wrote) {
    qint64 done = 0;
#if defined(Q_OS_LINUX)
    // The kernel copies without a trip through user space, and shares blocks where the file system can.
    while (done < size) {
        const ssize_t copied = ::copy_file_range(input.handle(), nullptr, output.handle(), nullptr,
                                                 static_cast<size_t>(std::min(kBlockBytes, size - done)), 0);
        if (copied == 0)
            return done;
        if (copied < 0) {
            if (errno == EINTR)
                continue;
            if (done == 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP))
                break; // not offered between these two files: copy by reading
            return -1;
        }
        done += copied;
        if (!wrote(done))
            return -1;
    }
#endif
    return copyByReading(input, output, done, size, wrote);
}

void copyPermissions(const QFile& from, QFile& to) {
    struct stat info {};
    if (::fstat(from.handle(), &info) == 0)
        ::fchmod(to.handle(), info.st_mode & 07777);
}

bool syncToDisk(QFile& file) {
    return ::fsync(file.handle()) == 0;
}

bool syncFolder(const Path& folder) {
    return syncOpened(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

#if defined(Q_OS_LINUX)
// Started as each file is written, the disk's writes overlap the copying of the next file, where a sync of each
// file in turn would wait for the disk once per file.
bool syncStagedFile(QFile& file) {
    // Only a start: what fails shows in the sync of the folder's files, which waits.
    ::sync_file_range(file.handle(), 0, 0, SYNC_FILE_RANGE_WRITE);
    return true;
}

bool syncStagedFolder(const Path& folder) {
    for (const Path& name : entriesOf(folder, Kind::RegularFile))
        if (!syncOpened(folder / name, kReadFlags | O_NOFOLLOW))
            return false;
    return syncFolder(folder);
}
#else
bool syncStagedFile(QFile& file) {
    return syncToDisk(file);
}

bool syncStagedFolder(const Path& folder) {
    return syncFolder(folder);
}
#endif

std::optional<Identity> identityOf(const Path& path) {
    struct stat info {};
    if (path.empty() || ::lstat(path.c_str(), &info) != 0)
        return std::nullopt;
    return Identity{quint64(info.st_dev), quint64(info.st_ino)};
}

bool appendToFile(const Path& path, const QByteArray& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size())) == bytes.size();
    const int saved = errno;
    ::close(fd);
    errno = saved;
    return written;
}

bool renameOver(const Path& from, const Path& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

std::unique_ptr<QFile> lockFile(const Path& path, bool& heldElsewhere) {
    heldElsewhere = false;
    // A holder removes the file before it lets go, so a lock won on a file no longer at path is no lock.
    for (int attempt = 0; attempt < 8 && !path.empty(); ++attempt) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0644);
        if (fd < 0)
            return nullptr;
        std::unique_ptr<QFile> file = adopt(fd, QIODevice::WriteOnly);
        struct stat opened {};
        struct stat named {};
        if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode))
            return nullptr;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            heldElsewhere = errno == EWOULDBLOCK;
            return nullptr;
        }
        if (::lstat(path.c_str(), &named) == 0 && named.st_dev == opened.st_dev && named.st_ino == opened.st_ino)
            return file;
    }
    heldElsewhere = !path.empty();
    return nullptr;
}

void releaseLock(const Path& path, std::unique_ptr<QFile> lock) {
    removeFile(path);
    lock.reset();
}

void removeFile(const Path& path) {
    if (!path.empty())
        ::unlink(path.c_str());
}

bool makeFolder(const Path& path) {
    return !path.empty() && ::mkdir(path.c_str(), 0777) == 0;
}

void removeFolder(const Path& path) {
    if (!path.empty())
        ::rmdir(path.c_str());
}

void allowRemoval(const Path&) {
    // A folder that may be written gives up its read-only files.
}

std::optional<Obstacle> obstacleTo(const Path& path) {
    if (kindOf(path) == Kind::Folder)
        return Obstacle::Folder;
    // A file is moved by its folder's permission, which a read-only folder or file system withholds.
    const Path folder = path.parent_path().empty() ? Path(".") : path.parent_path();
    return ::access(folder.c_str(), W_OK) != 0 && errno != ENOENT ? std::optional(Obstacle::Denied) : std::nullopt;
}

QList<Path> entriesOf(const Path& folder, std::optional<Kind> wanted) {
    QList<Path> names;
    DIR* const listing = ::opendir(folder.c_str());
    if (!listing)
        return names;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        // The type the listing gave is used as it is; only links and unknown types cost a stat.
        std::optional<Kind> kind;
        if (entry->d_type == DT_DIR)
            kind = Kind::Folder;
        else if (entry->d_type == DT_REG)
            kind = Kind::RegularFile;
        else if (wanted && (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN)) {
            struct stat info {};
            kind = ::fstatat(::dirfd(listing), entry->d_name, &info, 0) != 0 ? Kind::Missing
                   : S_ISDIR(info.st_mode)                                   ? Kind::Folder
                   : S_ISREG(info.st_mode)                                   ? Kind::RegularFile
                                                                             : Kind::Other;
        }
        if (!wanted || kind == wanted)
            names.append(Path(name));
    }
    ::closedir(listing);
    return names;
}

bool endsWith(const Path& name, const QString& suffix) {
    return QByteArrayView(name.native()).endsWith(suffix.toUtf8());
}

QByteArray bytesOfName(const Path& name) {
    return QByteArray::fromStdString(name.native());
}

Path nameOfBytes(const QByteArray& bytes) {
    return Path(bytes.toStdString());
}

bool isReservedName(const Path&) {
    return false;
}

} // namespace fs::host

namespace fs {

FolderReader::FolderReader(Path folder)
    : folder_(std::move(folder)), handle_(::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}

FolderReader::~FolderReader() {
    if (handle_ >= 0)
        ::close(handle_);
}

Result<QByteArray> FolderReader::readHead(const Path& subfolder, const Path& name, qint64 maxBytes) const {
    // A folder that could not be opened fails each read with the host's own reason.
    if (handle_ < 0)
        return fs::readHead(folder_ / subfolder / name, maxBytes);
    // Joined as bytes: a path would take the names apart again.
    return host::readHeadAt(handle_, (subfolder.native() + '/' + name.native()).c_str(), maxBytes);
}

Result<QByteArray> readHead(const Path& file, qint64 maxBytes) {
    return host::readHeadAt(AT_FDCWD, file.c_str(), maxBytes);
}

QByteArray nameKey(const Path& name) {
    return host::bytesOfName(name);
}

Path fromQt(const QString& path) {
    return Path(QFile::encodeName(path).toStdString());
}

QString displayName(const Path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

} // namespace fs
