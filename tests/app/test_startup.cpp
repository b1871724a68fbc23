#include "app/Centring.h"
#include "app/Config.h"
#include "support/CarFolder.h"
#include "support/RecordingPorts.h"
#include "support/TestMain.h"

#include <QTest>

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void configurationNamesTheWebsite_data() {
        QTest::addColumn<bool>("hasFile");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("website");
        QTest::addColumn<QString>("prompt");
        QTest::newRow("no file") << false << QByteArray() << kDefaultWebsite
                                 << "Could not load CFG file, using default \r\nwebsite location : " + kDefaultWebsite;
        QTest::newRow("first line only") << true << QByteArray("http://league.test/files/\r\nignored\r\n")
                                         << "http://league.test/files/"
                                         << "Website is - http://league.test/files/";
        QTest::newRow("empty first line")
            << true << QByteArray("\r\nhttp://second.test/\r\n") << QString() << "Website is - ";
        QTest::newRow("blanks kept") << true << QByteArray("  http://x.test/  ") << "  http://x.test/  "
                                     << "Website is -   http://x.test/  ";
        QTest::newRow("empty file keeps the default")
            << true << QByteArray() << kDefaultWebsite << "Website is - " + kDefaultWebsite;
    }

    void configurationNamesTheWebsite() {
        QFETCH(bool, hasFile);
        QFETCH(QByteArray, contents);
        QFETCH(QString, website);
        QFETCH(QString, prompt);
        CarFolder cars;
        if (hasFile)
            cars.write(QStringLiteral("ZERN.cfg"), contents);
        FormState st;
        st.appPath = fs::fromQt(cars.path());
        RecordingMessageBox boxes;
        subLoadConfig(st, boxes);
        QCOMPARE(st.strWebsite, website);
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(boxes.shown[0].title, QStringLiteral("Website Location"));
        QCOMPARE(boxes.shown[0].prompt, prompt);
        QVERIFY(!boxes.shown[0].yesNo);
    }

    void defaultIsAnHttpAddressEndingInSlash() {
        QVERIFY(kDefaultWebsite.startsWith(QStringLiteral("http://")));
        QVERIFY(kDefaultWebsite.endsWith(QLatin1Char('/')));
    }

    void centring_data() {
        QTest::addColumn<QSizeF>("screen");
        QTest::addColumn<QSizeF>("window");
        QTest::addColumn<QPoint>("topLeft");
        QTest::newRow("even differences") << QSizeF(1000, 800) << QSizeF(400, 400) << QPoint(300, 200);
        QTest::newRow("odd unit dropped") << QSizeF(1426, 801) << QSizeF(425, 400) << QPoint(500, 200);
        QTest::newRow("window larger than screen") << QSizeF(400, 300) << QSizeF(405, 307) << QPoint(-2, -3);
        QTest::newRow("half rounds to even, up") << QSizeF(1000.5, 100) << QSizeF(0, 0) << QPoint(500, 50);
        QTest::newRow("half rounds to even, down") << QSizeF(1002.5, 100) << QSizeF(0, 0) << QPoint(501, 50);
        QTest::newRow("half rounds to even then odd halves") << QSizeF(3.5, 2.5) << QSizeF(0, 0) << QPoint(2, 1);
    }

    void centring() {
        QFETCH(QSizeF, screen);
        QFETCH(QSizeF, window);
        QFETCH(QPoint, topLeft);
        QCOMPARE(centredPosition(screen, window), topLeft);
    }
};

TARVOK_TEST(StartupTest)
#include "test_startup.moc"
