#include "league/Download.h"
#include "league/NetworkFetch.h"
#include "support/CarFolder.h"
#include "support/LeagueSite.h"
#include "support/RecordingPorts.h"
#include "support/TestMain.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

using namespace std::chrono_literals;
using leagueserver::Mode;

namespace {

const QString kList = QStringLiteral("tarvver.txt");

// A program folder whose strWebsite points at the site.
FormState stateFor(const CarFolder& cars, const QString& website) {
    FormState st;
    st.appPath = fs::fromQt(cars.path());
    st.strWebsite = website;
    return st;
}

// Puts an environment variable back as it was, and unsets it meanwhile.
class EnvironmentGuard {
public:
    explicit EnvironmentGuard(const char* name)
        : name_(name), wasSet_(qEnvironmentVariableIsSet(name)), value_(qgetenv(name)) {
        qunsetenv(name);
    }
    ~EnvironmentGuard() {
        if (wasSet_)
            qputenv(name_, value_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    bool wasSet_;
    QByteArray value_;
};

} // namespace

class DownloadTest : public QObject {
    Q_OBJECT

private slots:
    void aFetchReplacesAnOlderLongerCopyCompletely() {
        LeagueSite site;
        site.publish(kList, "1\r\nPackA|12/04/2003\r\n");
        CarFolder cars;
        cars.write(kList, "3\r\nPackA|01/01/2001\r\nPackB|01/01/2001\r\nPackC|01/01/2001\r\n");
        NetworkFetch inet1(5s);
        subDownloadFile(stateFor(cars, site.baseUrl()), inet1, kList);
        QCOMPARE(cars.read(kList), QByteArray("1\r\nPackA|12/04/2003\r\n"));
        // No temporary file is left beside it.
        QCOMPARE(QDir(cars.path()).entryList(QDir::Files | QDir::Hidden), QStringList{kList});
    }

    void theUrlIsTheWebsiteFollowedByTheFileName() {
        CarFolder cars;
        NoNetwork inet1;
        subDownloadFile(stateFor(cars, QStringLiteral("http://league.example/files/")), inet1,
                        QStringLiteral("tarvmeet.txt"));
        QCOMPARE(inet1.requested, QStringList{QStringLiteral("http://league.example/files/tarvmeet.txt")});
        QVERIFY(cars.exists(QStringLiteral("tarvmeet.txt")));
    }

    void aFailedFetchLeavesAnEmptyFile_data() {
        QTest::addColumn<QString>("website"); // empty: the running site's address
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("published");
        QTest::newRow("connection refused") << "http://127.0.0.1:1/" << int(Mode::Normal) << true;
        QTest::newRow("file not on the site") << "" << int(Mode::Normal) << false;
        QTest::newRow("404") << "" << int(Mode::NotFound) << true;
        QTest::newRow("500") << "" << int(Mode::ServerError) << true;
        QTest::newRow("redirect loop") << "" << int(Mode::RedirectLoop) << true;
        QTest::newRow("closed mid-body") << "" << int(Mode::ClosesMidBody) << true;
        QTest::newRow("endless body") << "" << int(Mode::EndlessBody) << true;
        QTest::newRow("ftp address") << "ftp://127.0.0.1/" << int(Mode::Normal) << true;
        QTest::newRow("file address") << "file:///etc/" << int(Mode::Normal) << true;
        QTest::newRow("no scheme") << "127.0.0.1/" << int(Mode::Normal) << true;
    }

    void aFailedFetchLeavesAnEmptyFile() {
        QFETCH(QString, website);
        QFETCH(int, mode);
        QFETCH(bool, published);
        LeagueSite site;
        if (published)
            site.publish(kList, "2\r\nPackA|12/04/2003\r\nPackB|01/05/2003\r\n");
        site.setMode(Mode(mode));
        CarFolder cars;
        cars.write(kList, "stale copy");
        NetworkFetch inet1(5s);
        subDownloadFile(stateFor(cars, website.isEmpty() ? site.baseUrl() : website), inet1, kList);
        QVERIFY(cars.exists(kList));
        QCOMPARE(cars.read(kList), QByteArray());
    }

    void aCompressedBombFailsAtOnce() {
        LeagueSite site;
        site.setMode(Mode::GzipBomb);
        NetworkFetch inet1; // the full time-out: only the unpacked size can end this fetch soon
        QElapsedTimer took;
        took.start();
        QCOMPARE(inet1.fetch(site.baseUrl() + kList), std::nullopt);
        QVERIFY2(took.elapsed() < 5000, qPrintable(QString::number(took.elapsed())));
    }

    void aBodyIsStoredByteForByte_data() {
        QTest::addColumn<QByteArray>("body");
        QByteArray everyByte;
        for (int b = 0; b < 256; ++b)
            everyByte.append(char(b));
        everyByte.replace('\n', ' ').replace('\r', ' ');
        QTest::newRow("bytes outside 7-bit text, no line end") << everyByte;
        QTest::newRow("empty body") << QByteArray();
        QTest::newRow("lone line ends kept") << QByteArray("2\nPackA|12/04/2003\rPackB|01/05/2003");
        QTest::newRow("exactly 1 MiB") << QByteArray(NetworkFetch::kMaxBodyBytes, 'x');
    }

    void aBodyIsStoredByteForByte() {
        QFETCH(QByteArray, body);
        LeagueSite site;
        site.publish(kList, body);
        CarFolder cars;
        NetworkFetch inet1(5s);
        subDownloadFile(stateFor(cars, site.baseUrl()), inet1, kList);
        QCOMPARE(cars.read(kList), body);
    }

    void aBodyOverOneMebibyteIsAFailedFetch() {
        LeagueSite site;
        site.publish(kList, QByteArray(NetworkFetch::kMaxBodyBytes + 1, 'x'));
        NetworkFetch inet1(5s);
        QVERIFY(!inet1.fetch(site.baseUrl() + kList));
    }

    void theCopyLandsInTheProgramFolderWhereverTheCurrentFolderIs() {
        LeagueSite site;
        site.publish(kList, "0\r\n");
        CarFolder cars;
        QTemporaryDir elsewhere;
        const QString before = QDir::currentPath();
        QDir::setCurrent(elsewhere.path());
        NetworkFetch inet1(5s);
        subDownloadFile(stateFor(cars, site.baseUrl()), inet1, kList);
        QDir::setCurrent(before);
        QCOMPARE(cars.read(kList), QByteArray("0\r\n"));
        QVERIFY(QDir(elsewhere.path()).isEmpty());
    }

    void anErrorPageWithStatus200IsStoredAsItCame() {
        LeagueSite site;
        site.setMode(Mode::HtmlErrorPage);
        CarFolder cars;
        NetworkFetch inet1(5s);
        subDownloadFile(stateFor(cars, site.baseUrl()), inet1, kList);
        QVERIFY(cars.read(kList).startsWith("<html>"));
    }

    void aServerThatNeverAnswersIsAbandonedAfterTheTimeOut() {
        LeagueSite site;
        site.publish(kList, "0\r\n");
        site.setMode(Mode::NeverAnswers);
        CarFolder cars;
        cars.write(kList, "stale copy");
        NetworkFetch inet1(400ms);
        QElapsedTimer clock;
        clock.start();
        subDownloadFile(stateFor(cars, site.baseUrl()), inet1, kList);
        QVERIFY2(clock.elapsed() >= 300 && clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(cars.read(kList), QByteArray());
    }

    void aServerTricklingBytesIsAbandonedAtTwiceTheTimeOut() {
        LeagueSite site;
        site.setMode(Mode::OneBytePerSecond);
        NetworkFetch inet1(1200ms); // a byte a second is progress, so only the whole-transfer limit stops it
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!inet1.fetch(site.baseUrl() + kList));
        QVERIFY2(clock.elapsed() >= 2000 && clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
    }

    void theSystemProxyIsUsed() {
        LeagueSite proxy; // answers requests sent to it as a proxy with its own files
        proxy.publish(kList, "via the proxy");
        const EnvironmentGuard httpProxy("http_proxy");
        const EnvironmentGuard noProxy("no_proxy");
        const QString unreachable = QStringLiteral("http://league.invalid/") + kList;
        qputenv("http_proxy", proxy.baseUrl().toUtf8());
        NetworkFetch inet1(5s);
        QCOMPARE(inet1.fetch(unreachable), std::optional<QByteArray>("via the proxy"));
        qputenv("no_proxy", "league.invalid");
        QVERIFY(!inet1.fetch(unreachable));
    }
};

TARVOK_TEST(DownloadTest)
#include "test_download.moc"
