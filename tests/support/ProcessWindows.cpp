#include "support/FileCalls.h"
#include "support/Process.h"

#include <QCoreApplication>
#include <QProcess>

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

// The child is this same executable, so a function lies as far from runInChild in it as in the test.
static const quintptr kOrigin = reinterpret_cast<quintptr>(&runInChild);

// A child runs the work it was started for as its application starts, before any test, and ends there with the
// work's bytes on its output.
static void runWorkOfChild() {
    if (!qEnvironmentVariableIsSet("TARVOK_CHILD_WORK"))
        return;
    const auto work = reinterpret_cast<ChildWork>(kOrigin + qEnvironmentVariable("TARVOK_CHILD_WORK").toULongLong());
    const QByteArray bytes = work(QCoreApplication::arguments().mid(1));
    ::_setmode(::_fileno(stdout), _O_BINARY);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == size_t(bytes.size());
    // Ended at once, as nothing of the test is to be torn down, nor the threads the work left.
    ::TerminateProcess(::GetCurrentProcess(), written && std::fflush(stdout) == 0 ? 0 : 3);
}
Q_COREAPP_STARTUP_FUNCTION(runWorkOfChild)

ChildEnd runInChild(ChildWork work, const QStringList& arguments, bool) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TARVOK_CHILD_WORK", QString::number(reinterpret_cast<quintptr>(work) - kOrigin));
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    // A child stuck in a loop must not outlive its test.
    const bool ended = child.waitForFinished(60'000);
    if (!ended) {
        child.kill();
        child.waitForFinished();
    }
    const bool killed = ended && child.exitStatus() == QProcess::CrashExit && child.exitCode() == FILE_CALLS_KILLED;
    const bool succeeded = ended && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
    if (!killed && !succeeded)
        qWarning() << "the child failed:" << child.errorString() << Qt::hex << child.exitCode();
    return {succeeded ? std::optional(child.readAllStandardOutput()) : std::nullopt, killed};
}
