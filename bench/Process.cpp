#include "Process.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// Our environment with the given entries added, an entry of the same name replaced.
std::vector<std::string> mergedEnvironment(const QStringList& extra) {
    std::vector<std::string> merged;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text(*entry);
        const std::string name = text.substr(0, text.find('=') + 1);
        const bool replaced = std::any_of(extra.cbegin(), extra.cend(),
                                          [&](const QString& e) { return e.toStdString().rfind(name, 0) == 0; });
        if (!replaced)
            merged.push_back(text);
    }
    for (const QString& entry : extra)
        merged.push_back(entry.toStdString());
    return merged;
}

std::vector<char*> pointersTo(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Linux counts the peak resident set in KiB, macOS in bytes.
qint64 peakKiB(const rusage& usage) {
#if defined(__APPLE__)
    return usage.ru_maxrss / 1024;
#else
    return usage.ru_maxrss;
#endif
}

// The last peak the probe told in its error output, "VmHWM:   123 kB".
std::optional<qint64> toldPeakKiB(const QString& errorLog) {
    QFile log(errorLog);
    if (!log.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray text = log.readAll();
    const qsizetype at = text.lastIndexOf("VmHWM:");
    if (at < 0)
        return std::nullopt;
    bool number = false;
    const qint64 kiB = text.mid(at + 6).trimmed().split(' ').constFirst().toLongLong(&number);
    return number ? std::optional(kiB) : std::nullopt;
}

} // namespace

std::optional<ProcessCost> runProcess(const QString& program, const QStringList& arguments,
                                      const QStringList& environment, const QString& errorLog) {
    std::vector<std::string> argumentTexts{QFile::encodeName(program).toStdString()};
    for (const QString& argument : arguments)
        argumentTexts.push_back(QFile::encodeName(argument).toStdString());
    std::vector<std::string> environmentTexts = mergedEnvironment(environment);
    std::vector<char*> argv = pointersTo(argumentTexts);
    std::vector<char*> envp = pointersTo(environmentTexts);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const QByteArray logPath = QFile::encodeName(errorLog);
    if (!errorLog.isEmpty())
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, logPath.constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);

    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return std::nullopt;
    int status = 0;
    rusage usage{};
    pid_t waited = 0;
    do
        waited = wait4(child, &status, 0, &usage);
    while (waited < 0 && errno == EINTR);
    const auto end = std::chrono::steady_clock::now();
    if (waited != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return ProcessCost{std::chrono::duration<double>(end - start).count(), peakKiB(usage)};
}

std::optional<ProcessCost> runShell(const QString& script, const QStringList& arguments) {
    return runProcess(QStringLiteral("/bin/sh"),
                      QStringList{QStringLiteral("-c"), script, QStringLiteral("sh")} + arguments);
}

std::optional<ProcessCost> Probe::startUp(const QString& cars, int packs, const QString& archive) const {
    QStringList arguments{cars, QString::number(packs)};
    if (!archive.isEmpty())
        arguments << archive;
    std::optional<ProcessCost> cost =
        runProcess(program, arguments, {QStringLiteral("QT_QPA_PLATFORM=offscreen")}, errorLog);
    if (cost)
        cost->peakRssKiB = toldPeakKiB(errorLog).value_or(cost->peakRssKiB);
    return cost;
}

void flushDisks() {
    ::sync();
}
