#include "league/NetworkFetch.h"
#include "support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace std::chrono_literals;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

} // namespace

class LeagueServerTest : public QObject {
    Q_OBJECT

private slots:
    void servesItsFolderUntilStdinEnds() {
        QTemporaryDir outside;
        QVERIFY(QDir(outside.path()).mkdir(QStringLiteral("site")));
        const QString root = outside.filePath(QStringLiteral("site"));
        writeFile(outside.filePath(QStringLiteral("secret.txt")), "not for the web");
        writeFile(root + QStringLiteral("/tarvver.txt"), "1\r\nPackA|12/04/2003\r\n");
        QProcess server;
        server.start(QStringLiteral(TARVOK_LEAGUE_SERVER), {QStringLiteral("--root"), root});
        QVERIFY(server.waitForReadyRead(5000));
        const int port = server.readLine().trimmed().toInt();
        QVERIFY(port > 0);
        const QString base = QStringLiteral("http://127.0.0.1:%1/").arg(port);

        NetworkFetch inet1(5s);
        QCOMPARE(inet1.fetch(base + QStringLiteral("tarvver.txt")),
                 std::optional<QByteArray>("1\r\nPackA|12/04/2003\r\n"));
        QVERIFY(!inet1.fetch(base + QStringLiteral("missing.txt")));
        QVERIFY(!inet1.fetch(base + QStringLiteral("..%2Fsecret.txt")));

        server.closeWriteChannel();
        QVERIFY(server.waitForFinished(5000));
        QCOMPARE(server.exitCode(), 0);
    }

    void aHostileModeIsChosenByName() {
        QTemporaryDir root;
        QProcess server;
        server.start(
            QStringLiteral(TARVOK_LEAGUE_SERVER),
            {QStringLiteral("--root"), root.path(), QStringLiteral("--mode"), QStringLiteral("html-error-page")});
        QVERIFY(server.waitForReadyRead(5000));
        const QString base = QStringLiteral("http://127.0.0.1:%1/").arg(server.readLine().trimmed().toInt());
        NetworkFetch inet1(5s);
        QVERIFY(inet1.fetch(base + QStringLiteral("tarvver.txt")).value_or(QByteArray()).startsWith("<html>"));
        server.closeWriteChannel();
        QVERIFY(server.waitForFinished(5000));
    }

    void anUnknownModeIsRefused() {
        QProcess server;
        server.start(QStringLiteral(TARVOK_LEAGUE_SERVER),
                     {QStringLiteral("--root"), QStringLiteral("."), QStringLiteral("--mode"), QStringLiteral("rude")});
        QVERIFY(server.waitForFinished(5000));
        QCOMPARE(server.exitCode(), 2);
        QVERIFY(server.readAllStandardOutput().isEmpty());
    }
};

TARVOK_TEST(LeagueServerTest)
#include "test_league_server.moc"
