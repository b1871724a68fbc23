#include "support/FileCalls.h"
#include "support/Process.h"

#include <QCoreApplication>
#include <QProcess>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>

namespace {

const char* const kWork = "TARVOK_CHILD_WORK";
const char* const kRoom = "TARVOK_CHILD_FILE_ROOM";

// The child is this same executable, so a function lies as far from runInChild in it as in the test.
qint64 distanceOf(ChildWork work) {
    return qint64(reinterpret_cast<quintptr>(work) - reinterpret_cast<quintptr>(&runInChild));
}

ChildWork workAt(qint64 distance) {
    return reinterpret_cast<ChildWork>(reinterpret_cast<quintptr>(&runInChild) + quintptr(distance));
}

// A child runs the work it was started for as its application starts, before any test, and ends there with the
// work's bytes on its output.
void runWorkOfChild() {
    if (!qEnvironmentVariableIsSet(kWork))
        return;
    if (qEnvironmentVariableIsSet(kRoom))
        file_calls_limit_file_size(qEnvironmentVariable(kRoom).toLongLong());
    const QByteArray bytes = workAt(qEnvironmentVariable(kWork).toLongLong())(QCoreApplication::arguments().mid(1));
    ::_setmode(::_fileno(stdout), _O_BINARY);
    const bool written =
        std::fwrite(bytes.data(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size()) && std::fflush(stdout) == 0;
    std::_Exit(written ? 0 : 3);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(runWorkOfChild)

ChildEnd runInChild(const ChildLimits& limits, ChildWork work, const QStringList& arguments) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(kWork, QString::number(distanceOf(work)));
    if (limits.diskRoom)
        environment.insert(kRoom, QString::number(*limits.diskRoom));
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    // A child stuck in a loop must not outlive its test.
    if (!child.waitForFinished(60'000)) {
        child.kill();
        child.waitForFinished();
        return {};
    }
    if (child.exitStatus() == QProcess::CrashExit)
        return {std::nullopt, child.exitCode() == FILE_CALLS_KILLED};
    return {child.exitCode() == 0 ? std::optional(child.readAllStandardOutput()) : std::nullopt, false};
}
