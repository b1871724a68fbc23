#include "session/Log.h"
#include "session/LogFile.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace session;

namespace {

// The messages handed on by the log file to the handler that had them before.
QStringList handedOn;

void recordMessage(QtMsgType, const QMessageLogContext&, const QString& message) {
    handedOn.append(message);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class LogFileTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { qInstallMessageHandler(recordMessage); }

    void oneLinePerMessageAndOneOldLogKept_data() {
        QTest::addColumn<int>("oldBytes"); // the log before the start; 0: none, nor its folder
        QTest::addColumn<bool>("moved");   // whether it became the old log
        QTest::newRow("no log yet") << 0 << false;
        QTest::newRow("256 KiB, appended to") << 256 * 1024 << false;
        QTest::newRow("over 256 KiB, the old log in place of the one before") << 256 * 1024 + 1 << true;
    }

    void oneLinePerMessageAndOneOldLogKept() {
        QFETCH(int, oldBytes);
        QFETCH(bool, moved);
        const QString folder = root_.filePath(QTest::currentDataTag());
        const QString log = folder + "/tarvok-car-manager.log";
        const QByteArray old = oldBytes > 0 ? QByteArray(oldBytes - 1, 'x') + '\n' : QByteArray();
        if (oldBytes > 0) {
            QVERIFY(QDir().mkpath(folder));
            writeFile(log, old);
            writeFile(log + ".1", "the one before\n");
        }
        handedOn.clear();
        startLogFile(folder);
        qCWarning(sessionLog) << "a warning";
        qCInfo(sessionLog).noquote() << "two\r\nlines";

        QCOMPARE(handedOn, (QStringList{"a warning", "two\r\nlines"}));
        QCOMPARE(contentsOf(log + ".1"), oldBytes == 0 ? QByteArray() : moved ? old : "the one before\n");
        const QByteArray written = contentsOf(log);
        QVERIFY(moved || written.startsWith(old));
        QStringList lines;
        const QRegularExpression line("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3} (.*)$");
        for (const QByteArray& text : written.mid(moved ? 0 : old.size()).split('\n'))
            lines.append(line.match(QString::fromUtf8(text)).captured(1));
        QCOMPARE(lines, (QStringList{"warning tarvok.session: a warning", "info tarvok.session: two\\r\\nlines", ""}));
    }

    // Last, as it also closes the log the others left open, so their folders can go.
    void aLogThatCannotBeOpenedStopsNothing() {
        const QString log = root_.filePath("blocked/tarvok-car-manager.log");
        QVERIFY(QDir().mkpath(log));
        handedOn.clear();
        startLogFile(root_.filePath("blocked"));
        qCWarning(sessionLog) << "still shown";
        QCOMPARE(handedOn.size(), 2);
        QVERIFY(handedOn[0].startsWith("no log: " + log + " cannot be opened"));
        QCOMPARE(handedOn[1], "still shown");
    }

private:
    QTemporaryDir root_;
};

QTEST_GUILESS_MAIN(LogFileTest)
#include "test_log_file.moc"
