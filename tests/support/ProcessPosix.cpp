#include "support/Process.h"

#include <QFile>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

ChildEnd runInChild(ChildWork work, const QStringList& arguments, bool unprivileged) {
    int channel[2];
    if (::pipe(channel) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        // A child stuck in a loop must not outlive its test, nor hold the test's output open.
        ::alarm(60);
        constexpr uid_t kNobody = 65534;
        if (unprivileged && ::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(2);
        QFile out;
        const QByteArray bytes = work(arguments);
        ::_exit(out.open(channel[1], QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.flush() ? 0 : 3);
    }
    ::close(channel[1]);
    QFile in;
    const QByteArray bytes = child > 0 && in.open(channel[0], QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    ::close(channel[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child)
        return {};
    if (WIFSIGNALED(status))
        return {std::nullopt, WTERMSIG(status) == SIGKILL};
    return {WIFEXITED(status) && WEXITSTATUS(status) == 0 ? std::optional(bytes) : std::nullopt, false};
}
