#include "fs/FileSystem.h"
#include "fs/HostFile.h"

#include <QDir>

#include <algorithm>

#include <windows.h>

#include <fcntl.h>
#include <io.h>

namespace fs::host {

namespace {

// Win32 calls take paths past 260 characters only in the "\\?\" form, which must be absolute and
// normal: no "." or ".." (which it would take as names), and only "\" as separator.
std::wstring longPath(const Path& path) {
    std::wstring text = path.lexically_normal().make_preferred().native();
    if (!path.is_absolute() || text.starts_with(L"\\\\?\\"))
        return text;
    if (text.starts_with(L"\\\\"))
        return L"\\\\?\\UNC\\" + text.substr(2);
    return L"\\\\?\\" + text;
}

HANDLE openHandle(const Path& path, DWORD access, DWORD creation, DWORD flags) {
    if (path.empty())
        return INVALID_HANDLE_VALUE;
    // Sharing everything lets the game keep its files open while they are read.
    return ::CreateFileW(longPath(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, creation, flags, nullptr);
}

// Hands a Win32 handle to a QFile through a C runtime descriptor, so handle() is one the C runtime knows.
// The QFile closes the descriptor, and with it the handle, when it goes.
std::unique_ptr<QFile> adopt(HANDLE handle, QIODevice::OpenMode mode) {
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle),
                                     (mode & QIODevice::WriteOnly ? _O_WRONLY : _O_RDONLY) | _O_BINARY);
    if (fd < 0) {
        ::CloseHandle(handle);
        return nullptr;
    }
    auto file = std::make_unique<QFile>();
    file->open(fd, mode | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle);
    return file;
}

Entry entryOfHandle(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileInformationByHandle(handle, &info))
        return {Kind::Other, 0};
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return {Kind::Folder, 0};
    return {Kind::RegularFile, static_cast<qint64>((quint64(info.nFileSizeHigh) << 32) | info.nFileSizeLow)};
}

// The same, when the handle is one of a regular file: nothing for anything else, or for no handle.
std::unique_ptr<QFile> adoptRegularFile(HANDLE handle, QIODevice::OpenMode mode) {
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    if (entryOfHandle(handle).kind != Kind::RegularFile) {
        ::CloseHandle(handle);
        return nullptr;
    }
    return adopt(handle, mode);
}

} // namespace

QString lastError() {
    const DWORD error = ::GetLastError();
    wchar_t* text = nullptr;
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const QString reason =
        length ? QString::fromWCharArray(text, int(length)).trimmed() : QStringLiteral("error %1").arg(error);
    ::LocalFree(text);
    return reason;
}

Status lastFailure() {
    const DWORD error = ::GetLastError();
    return Status::failed(lastError(), error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL);
}

Entry entryAt(const Path& path) {
    // Opening follows links, and a device such as NUL opens as something other than a disk file.
    const HANDLE handle = openHandle(path, 0, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
    if (handle == INVALID_HANDLE_VALUE)
        return {};
    const Entry entry = entryOfHandle(handle);
    ::CloseHandle(handle);
    return entry;
}

Kind kindOfEntry(const Path& path) {
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(longPath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return Kind::Missing;
    // Junctions and mount points are reparse points as much as symbolic links are, and lead as far. Nothing is
    // opened, so a file another program holds open is seen as well.
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return Kind::Link;
    return attributes & FILE_ATTRIBUTE_DIRECTORY ? Kind::Folder : Kind::RegularFile;
}

std::unique_ptr<QFile> openRegularFile(const Path& path) {
    return adoptRegularFile(openHandle(path, GENERIC_READ, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN),
                            QIODevice::ReadOnly);
}

std::unique_ptr<QFile> createNewFile(const Path& path) {
    const HANDLE handle = openHandle(path, GENERIC_WRITE, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    std::unique_ptr<QFile> file = adopt(handle, QIODevice::WriteOnly);
    if (!file)
        removeFile(path);
    return file;
}

qint64 copyContents(QFile& input, QFile& output, qint64 size, const std::function<bool(qint64)>& wrote) {
    return copyByReading(input, output, 0, size, wrote);
}

// A read-only source would make its copy read-only too, and the next swap could not replace it.
void copyPermissions(const QFile&, QFile&) {}

bool syncToDisk(QFile& file) {
    return ::FlushFileBuffers(reinterpret_cast<HANDLE>(::_get_osfhandle(file.handle()))) != 0;
}

// Windows keeps no folder to sync: each move below is written through to the disk before it returns.
bool syncFolder(const Path&) {
    return true;
}

bool syncStagedFile(QFile& file) {
    return syncToDisk(file);
}

bool syncStagedFolder(const Path&) {
    return true;
}

std::optional<Identity> identityOf(const Path& path) {
    const HANDLE handle = openHandle(path, 0, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT);
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = ::GetFileInformationByHandle(handle, &info) != 0;
    ::CloseHandle(handle);
    if (!known)
        return std::nullopt;
    return Identity{info.dwVolumeSerialNumber, (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

bool appendToFile(const Path& path, const QByteArray& bytes) {
    const HANDLE handle = openHandle(path, FILE_APPEND_DATA, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool whole = ::WriteFile(handle, bytes.constData(), DWORD(bytes.size()), &written, nullptr) &&
                       written == DWORD(bytes.size());
    const DWORD error = ::GetLastError();
    ::CloseHandle(handle);
    ::SetLastError(error);
    return whole;
}

bool renameOver(const Path& from, const Path& to) {
    // A file the member marked read-only stays as it is, as Windows' own copy leaves it; Wine alone
    // would replace it.
    const DWORD attributes = ::GetFileAttributesW(longPath(to).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    // Fails, leaving the target whole, while another program holds the target open.
    return ::MoveFileExW(longPath(from).c_str(), longPath(to).c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

std::unique_ptr<QFile> lockFile(const Path& path, bool& heldElsewhere) {
    // Shared with nobody, so every other handle is refused while this one is open; its closing, however the
    // program ends, takes the file with it.
    const HANDLE handle = path.empty()
                              ? INVALID_HANDLE_VALUE
                              : ::CreateFileW(longPath(path).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr,
                                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    heldElsewhere = handle == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_SHARING_VIOLATION;
    return adoptRegularFile(handle, QIODevice::WriteOnly);
}

// The handle was opened to delete its file as it closes.
void releaseLock(const Path&, std::unique_ptr<QFile> lock) {
    lock.reset();
}

void removeFile(const Path& path) {
    if (!path.empty())
        ::DeleteFileW(longPath(path).c_str());
}

bool makeFolder(const Path& path) {
    return !path.empty() && ::CreateDirectoryW(longPath(path).c_str(), nullptr) != 0;
}

void removeFolder(const Path& path) {
    if (!path.empty())
        ::RemoveDirectoryW(longPath(path).c_str());
}

void allowRemoval(const Path& path) {
    const DWORD attributes = ::GetFileAttributesW(longPath(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        ::SetFileAttributesW(longPath(path).c_str(), attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
}

std::optional<Obstacle> obstacleTo(const Path& path) {
    const DWORD attributes = ::GetFileAttributesW(longPath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return std::nullopt;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return Obstacle::Folder;
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return Obstacle::ReadOnly;
    // The game opens its textures without sharing their deletion, and then no other program may move them.
    const HANDLE handle = openHandle(path, DELETE, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT);
    if (handle != INVALID_HANDLE_VALUE) {
        ::CloseHandle(handle);
        return std::nullopt;
    }
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return std::nullopt;
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ? Obstacle::InUse : Obstacle::Denied;
}

QList<Path> entriesOf(const Path& folder, std::optional<Kind> wanted) {
    QList<Path> names;
    WIN32_FIND_DATAW entry{};
    const HANDLE search = ::FindFirstFileExW(longPath(folder / L"*").c_str(), FindExInfoBasic, &entry,
                                             FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (!wanted) {
            names.append(Path(name));
            continue;
        }
        // Only a link needs opening to learn what it leads to.
        const Kind kind = entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT ? kindOf(folder / name)
                          : entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY   ? Kind::Folder
                                                                                : Kind::RegularFile;
        if (kind == *wanted)
            names.append(Path(name));
    } while (::FindNextFileW(search, &entry));
    ::FindClose(search);
    return names;
}

bool endsWith(const Path& name, const QString& suffix) {
    return QString::fromStdWString(name.native()).endsWith(suffix, Qt::CaseInsensitive);
}

QByteArray bytesOfName(const Path& name) {
    return QString::fromStdWString(name.native()).toUtf8();
}

Path nameOfBytes(const QByteArray& bytes) {
    return Path(QString::fromUtf8(bytes).toStdWString());
}

bool isReservedName(const Path& name) {
    // Names Windows gives to devices in every folder, with or without an extension.
    const QString base = QString::fromStdWString(name.native()).section(QLatin1Char('.'), 0, 0).trimmed().toUpper();
    static const QStringList devices{QStringLiteral("CON"), QStringLiteral("PRN"),    QStringLiteral("AUX"),
                                     QStringLiteral("NUL"), QStringLiteral("CONIN$"), QStringLiteral("CONOUT$")};
    if (devices.contains(base))
        return true;
    return base.size() == 4 && (base.startsWith(QLatin1String("COM")) || base.startsWith(QLatin1String("LPT"))) &&
           base[3] >= QLatin1Char('1') && base[3] <= QLatin1Char('9');
}

} // namespace fs::host

namespace fs {

FolderReader::FolderReader(Path folder) : folder_(std::move(folder)) {}

FolderReader::~FolderReader() = default;

Result<QByteArray> FolderReader::readHead(const Path& subfolder, const Path& name, qint64 maxBytes) const {
    return fs::readHead(folder_ / subfolder / name, maxBytes);
}

Result<QByteArray> readHead(const Path& file, qint64 maxBytes) {
    const std::unique_ptr<QFile> input = host::openRegularFile(file);
    if (!input)
        return failedToOpen(file);
    QByteArray bytes;
    // One byte more than the file's size finds its end in one read; a file still growing reads on.
    qint64 wanted = std::min(maxBytes, input->size() + 1);
    while (wanted > 0) {
        const QByteArray block = input->read(wanted);
        bytes += block;
        // QFile reads on until it has all it was asked for, so a short block has met the end.
        if (block.size() < wanted)
            break;
        wanted = std::min(maxBytes - bytes.size(), host::kReadBlockBytes);
    }
    if (input->error() != QFileDevice::NoError)
        return Status::failed(input->errorString());
    return bytes;
}

QByteArray nameKey(const Path& name) {
    return displayName(name).toCaseFolded().toUtf8();
}

Path fromQt(const QString& path) {
    return Path(QDir::toNativeSeparators(path).toStdWString());
}

QString displayName(const Path& path) {
    return QString::fromStdWString(path.native());
}

} // namespace fs
