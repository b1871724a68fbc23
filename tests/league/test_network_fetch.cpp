#include "league/NetworkFetch.h"
#include "LeagueServer.h"

#include <QElapsedTimer>
#include <QTest>
#include <QUrl>

using leagueserver::Mode;

Q_DECLARE_METATYPE(Mode)

class NetworkFetchTest : public QObject {
    Q_OBJECT

private slots:
    void bodyByteForByte_data() {
        QTest::addColumn<QByteArray>("body");
        QByteArray everyByte;
        for (int b = 0; b < 256; ++b)
            everyByte.append(char(b));
        QTest::newRow("every byte value") << everyByte;
        QTest::newRow("lone line ends") << QByteArray("2\nPackA|12/04/2003\rPackB|01/05/2003\r");
        QTest::newRow("empty") << QByteArray("");
        QTest::newRow("exactly 1 MiB") << QByteArray(NetworkFetch::kMaxBodyBytes, 'x');
    }

    void bodyByteForByte() {
        QFETCH(QByteArray, body);
        leagueserver::LeagueServer site;
        site.publish(QStringLiteral("tarvver.txt"), body);
        const std::optional<QByteArray> fetched =
            NetworkFetch(std::chrono::seconds(5)).fetch(site.baseUrl() + "tarvver.txt");
        QVERIFY(fetched);
        QCOMPARE(*fetched, body);
    }

    void noBodyInTime_data() {
        QTest::addColumn<QString>("url"); // "{site}": the site's address, "{host}": the same without its scheme
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<QByteArray>("published");
        QTest::addColumn<int>("stallMs");
        QTest::addColumn<int>("withinMs");
        const auto row = [](const char* tag, const QString& url, Mode mode, int stallMs = 5000, int withinMs = 4000,
                            const QByteArray& published = "1\r\nPackA|12/04/2003\r\n") {
            QTest::newRow(tag) << url << mode << published << stallMs << withinMs;
        };
        const QString list = QStringLiteral("{site}tarvver.txt");
        row("connection refused", "http://127.0.0.1:1/tarvver.txt", Mode::Normal);
        row("not on the site", "{site}tarvmeet.txt", Mode::Normal);
        row("404", list, Mode::NotFound);
        row("500", list, Mode::ServerError);
        row("redirect loop", list, Mode::RedirectLoop);
        row("closed mid-body", list, Mode::ClosesMidBody);
        row("endless body", list, Mode::EndlessBody);
        row("over 1 MiB", list, Mode::Normal, 5000, 4000, QByteArray(NetworkFetch::kMaxBodyBytes + 1, 'x'));
        row("file address", QUrl::fromLocalFile(QFINDTESTDATA("test_network_fetch.cpp")).toString(), Mode::Normal);
        row("no scheme", "{host}tarvver.txt", Mode::Normal);
        row("gzip bomb under the default stall", list, Mode::GzipBomb, 60000, 5000);
        row("never answers", list, Mode::NeverAnswers, 300, 2000);
        // A byte a second is progress, so only the limit on the whole transfer ends it.
        row("one byte a second", list, Mode::OneBytePerSecond, 1500, 5000);
    }

    void noBodyInTime() {
        QFETCH(QString, url);
        QFETCH(Mode, mode);
        QFETCH(QByteArray, published);
        QFETCH(int, stallMs);
        QFETCH(int, withinMs);
        leagueserver::LeagueServer site;
        site.publish(QStringLiteral("tarvver.txt"), published);
        site.setMode(mode);
        url.replace(QStringLiteral("{site}"), site.baseUrl()).replace(QStringLiteral("{host}"), site.baseUrl().mid(7));
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!NetworkFetch(std::chrono::milliseconds(stallMs)).fetch(url));
        QVERIFY2(clock.elapsed() < withinMs, qPrintable(QString::number(clock.elapsed())));
    }
};

QTEST_GUILESS_MAIN(NetworkFetchTest)
#include "test_network_fetch.moc"
