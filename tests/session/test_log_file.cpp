#include "session/Log.h"
#include "session/LogFile.h"
#include "support/CarFolder.h"

#include <QtTest>

using namespace session;

// The messages handed on by the log file to the handler that had them before.
static QStringList handedOn;

class LogFileTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) { handedOn << text; });
        QCoreApplication::setApplicationVersion("9.8");
    }

    void oneLinePerMessageAndOneOldLogKept_data() {
        QTest::addColumn<int>("oldBytes"); // the log before the start; 0: none
        QTest::addColumn<bool>("moved");   // whether it became the old log
        QTest::newRow("no log yet") << 0 << false;
        QTest::newRow("256 KiB, appended to") << 256 * 1024 << false;
        QTest::newRow("over 256 KiB, the old log in place of the one before") << 256 * 1024 + 1 << true;
    }

    void oneLinePerMessageAndOneOldLogKept() {
        QFETCH(int, oldBytes);
        QFETCH(bool, moved);
        const QString log = QString(QTest::currentDataTag()) + "/tarvok-car-manager.log";
        const QByteArray old = oldBytes > 0 ? QByteArray(oldBytes - 1, 'x') + '\n' : QByteArray();
        if (oldBytes > 0)
            logs_.write(log, old);
        logs_.write(log + ".1", "the one before\n");
        handedOn.clear();
        startLogFile(logs_.file(QTest::currentDataTag()));
        qCWarning(sessionLog) << "a warning";
        qCInfo(sessionLog).noquote() << "two\r\nlines";
        const QString started = "Tarvok Car Manager 9.8 on " + QSysInfo::prettyProductName();
        QCOMPARE(handedOn, (QStringList{started, "a warning", "two\r\nlines"}));
        QCOMPARE(logs_.read(log + ".1"), moved ? old : "the one before\n");
        const QByteArray written = logs_.read(log);
        QVERIFY(moved || written.startsWith(old));
        const QRegularExpression time("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3} ",
                                      QRegularExpression::MultilineOption);
        QCOMPARE(QString::fromUtf8(written.mid(moved ? 0 : old.size())).remove(time).split('\n'),
                 (QStringList{"info tarvok.session: " + started, "warning tarvok.session: a warning",
                              "info tarvok.session: two\\r\\nlines", ""}));
    }

    // Last, as it also closes the log the others left open, so their folders can go.
    void aLogThatCannotBeOpenedStopsNothing() {
        logs_.makeFolder("blocked/tarvok-car-manager.log");
        logs_.write("a file", "");
        handedOn.clear();
        startLogFile(logs_.file("a file/logs"));
        startLogFile(logs_.file("blocked"));
        qCWarning(sessionLog) << "still shown";
        QCOMPARE(handedOn.replaceInStrings(QRegularExpression(" cannot be opened.*"), " cannot be opened"),
                 (QStringList{"no log: the folder " + logs_.file("a file/logs") + " cannot be made",
                              "no log: " + logs_.file("blocked/tarvok-car-manager.log") + " cannot be opened",
                              "still shown"}));
    }

private:
    CarFolder logs_;
};

QTEST_GUILESS_MAIN(LogFileTest)
#include "test_log_file.moc"
