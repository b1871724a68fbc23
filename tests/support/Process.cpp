#include "support/Process.h"

#include <QFile>
#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_UNIX
bool writeAll(int fd, const QByteArray& bytes) {
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + sent, static_cast<size_t>(bytes.size() - sent));
        if (n <= 0)
            return false;
        sent += n;
    }
    return true;
}
#endif

} // namespace

std::optional<QByteArray> runInChild(const ChildLimits& limits, const std::function<QByteArray()>& work) {
#ifdef Q_OS_UNIX
    int channel[2];
    if (::pipe(channel) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        if (limits.diskRoom) {
            // Writes past the limit then fail with EFBIG instead of the signal ending the child.
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{static_cast<rlim_t>(*limits.diskRoom), static_cast<rlim_t>(*limits.diskRoom)};
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
                ::_exit(2);
        }
        constexpr uid_t kNobody = 65534;
        if (limits.unprivileged && ::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(2);
        ::_exit(writeAll(channel[1], work()) ? 0 : 3);
    }
    ::close(channel[1]);
    if (child < 0) {
        ::close(channel[0]);
        return std::nullopt;
    }
    QByteArray bytes;
    char block[4096];
    ssize_t got = 0;
    while ((got = ::read(channel[0], block, sizeof block)) > 0)
        bytes.append(block, got);
    ::close(channel[0]);
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return bytes;
#else
    Q_UNUSED(limits);
    Q_UNUSED(work);
    return std::nullopt;
#endif
}

qint64 residentKiB() {
#ifdef Q_OS_LINUX
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmRSS:"))
                return line.mid(6).trimmed().split(' ').first().toLongLong();
#endif
    return 0;
}

qint64 peakGrowthKiB(qint64 residentAtStartKiB) {
#ifdef Q_OS_UNIX
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss - residentAtStartKiB;
#else
    Q_UNUSED(residentAtStartKiB);
    return 0;
#endif
}
