#include "fs/HostFile.h"

#include <filesystem>
#include <system_error>

#if defined(Q_OS_WIN)
#include <io.h>
#else
#include <cerrno>
#include <unistd.h>
#endif

namespace fs {

namespace {

constexpr qint64 kBlockBytes = 8 * 1024 * 1024;

std::filesystem::path hostPath(const QString& path) {
#if defined(Q_OS_WIN)
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

bool copyByReading(QFile& input, QFile& output, qint64 done, const std::function<void(qint64)>& progress) {
    QByteArray block;
    while (!(block = input.read(kBlockBytes)).isEmpty()) {
        if (output.write(block) != block.size())
            return false;
        done += block.size();
        progress(done);
    }
    return input.error() == QFileDevice::NoError;
}

} // namespace

bool copyContents(QFile& input, QFile& output, const std::function<void(qint64)>& progress) {
    qint64 done = 0;
#if defined(Q_OS_LINUX)
    // The kernel copies without a trip through user space, and shares blocks where the file system can.
    if (!output.flush())
        return false;
    for (;;) {
        const ssize_t copied =
            ::copy_file_range(input.handle(), nullptr, output.handle(), nullptr, static_cast<size_t>(kBlockBytes), 0);
        if (copied == 0)
            return true;
        if (copied < 0) {
            if (errno == EINTR)
                continue;
            if (done == 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP))
                break; // not offered between these two files: copy by reading
            return false;
        }
        done += copied;
        progress(done);
    }
#endif
    return copyByReading(input, output, done, progress);
}

bool syncToDisk(QFile& file) {
#if defined(Q_OS_WIN)
    return ::_commit(file.handle()) == 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

bool renameOver(const QString& from, const QString& to) {
    std::error_code error;
    std::filesystem::rename(hostPath(from), hostPath(to), error);
    return !error;
}

} // namespace fs
