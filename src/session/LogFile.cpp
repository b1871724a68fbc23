#include "session/LogFile.h"

#include "session/Log.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMutex>
#include <QSysInfo>

namespace session {

namespace {

constexpr qint64 kMaxBytesAtStart = 256 * 1024;

// The log every thread writes to, and the handler that had the messages before it.
struct Log {
    QMutex mutex;
    QFile file; // closed while there is no log to write to
    QtMessageHandler next = nullptr;
};

// Never destroyed, so a message logged while the program ends still finds it.
Log& theLog() {
    static Log* const log = new Log;
    return *log;
}

const char* levelName(QtMsgType type) {
    switch (type) {
    case QtDebugMsg:
        return "debug";
    case QtInfoMsg:
        return "info";
    case QtWarningMsg:
        return "warning";
    case QtCriticalMsg:
        return "critical";
    case QtFatalMsg:
        break;
    }
    return "fatal";
}

QByteArray lineOf(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    // Line ends inside a message are spelt out, so each message stays one line.
    QString text = message;
    text.replace(QLatin1Char('\r'), QLatin1String("\\r")).replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return QDateTime::currentDateTime().toString(Qt::ISODateWithMs).toUtf8() + ' ' + levelName(type) + ' ' +
           (context.category ? context.category : "default") + ": " + text.toUtf8() + '\n';
}

void writeMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    Log& log = theLog();
    QtMessageHandler next = nullptr;
    {
        const QMutexLocker lock(&log.mutex);
        next = log.next;
        if (log.file.isOpen()) {
            const QByteArray line = lineOf(type, context, message);
            if (log.file.write(line) != line.size() || !log.file.flush())
                log.file.close();
        }
    }
    next(type, context, message);
}

} // namespace

void startLogFile(const QString& folder) {
    Log& log = theLog();
    const QString path = QDir(folder).filePath(QStringLiteral("tarvok-car-manager.log"));
    // Made before the lock is taken, as Qt may log a warning on the way.
    const bool folderMade = QDir().mkpath(folder);
    QString failure;
    {
        const QMutexLocker lock(&log.mutex);
        log.file.close();
        if (folderMade) {
            if (QFileInfo(path).size() > kMaxBytesAtStart) {
                QFile::remove(path + QStringLiteral(".1"));
                QFile::rename(path, path + QStringLiteral(".1"));
            }
            log.file.setFileName(path);
            if (!log.file.open(QIODevice::WriteOnly | QIODevice::Append))
                failure = QStringLiteral("no log: %1 cannot be opened: %2").arg(path, log.file.errorString());
        } else {
            failure = QStringLiteral("no log: the folder %1 cannot be made").arg(folder);
        }
        if (!log.next)
            log.next = qInstallMessageHandler(writeMessage);
    }
    // Each run's first line says which build ran where, so a helper reading the log knows both.
    if (failure.isEmpty())
        qCInfo(sessionLog).noquote() << QStringLiteral("Tarvok Car Manager %1 on %2")
                                            .arg(QCoreApplication::applicationVersion(), QSysInfo::prettyProductName());
    else
        qCWarning(sessionLog).noquote() << failure;
}

} // namespace session
