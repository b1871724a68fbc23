#include "support/CarFolder.h"
#include "support/Recorder.h"

#include <QTest>

class StartTest : public QObject {
    Q_OBJECT

private slots:
    void start_data() {
        QTest::addColumn<QByteArray>("config");  // null: no ZERN.cfg
        QTest::addColumn<QByteArray>("drivers"); // null: no drivers.txt
        QTest::addColumn<QString>("website");
        QTest::addColumn<QString>("currentSet");
        const QString fallback = QStringLiteral("http://www.tarvok.example/");
        QTest::newRow("no configuration, no active set")
            << QByteArray() << QByteArray()
            << "Could not load CFG file, using default \r\nwebsite location : " + fallback
            << fallback + "tarvver.txt|Error";
        QTest::newRow("only the first line counts, blanks kept")
            << QByteArray("\xEF\xBB\xBF http://league.example/ \r\nhttp://other.example/\r\n")
            << CarFolder::driversTxt("GT Cars", "12/04/2003") << "Website is -  http://league.example/ "
            << " http://league.example/ tarvver.txt|GT Cars 12/04/2003";
        QTest::newRow("an empty first line")
            << QByteArray("\r\nhttp://league.example/") << QByteArray("1\n2\n3\n## GT\n") << "Website is - "
            << "tarvver.txt|GT";
        QTest::newRow("an empty file keeps the default")
            << QByteArray("") << QByteArray("1\n2\n3\n##\n") << "Website is - " + fallback
            << fallback + "tarvver.txt|Error";
    }

    void start() {
        QFETCH(QByteArray, config);
        QFETCH(QByteArray, drivers);
        CarFolder cars;
        if (!config.isNull())
            cars.write(QStringLiteral("ZERN.cfg"), config);
        if (!drivers.isNull())
            cars.write(QStringLiteral("drivers.txt"), drivers);
        cars.addPack(QStringLiteral("GT"), QStringLiteral("GT Cars"), QStringLiteral("12/04/2003"));
        cars.makeFolder(QStringLiteral("Empty"));
        CannedSite site;
        Recorder window;
        Session session(cars.host(), window.ports(site));
        session.start();
        session.checkPacks(); // shows which address the fetch used
        QTEST(window.boxes.first().remove(QStringLiteral("Website Location | ")), "website");
        QTEST(site.requested.first() + '|' + window.currentSet, "currentSet");
        QCOMPARE(window.listed, QStringList{"GT .GT Cars - 12/04/2003"});
    }
};

QTEST_GUILESS_MAIN(StartTest)
#include "test_start.moc"
