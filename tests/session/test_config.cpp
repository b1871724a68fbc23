#include "session/Config.h"
#include "support/CarFolder.h"

#include <QTest>

class ConfigTest : public QObject {
    Q_OBJECT

private slots:
    void readsTheFirstLine_data() {
        QTest::addColumn<QByteArray>("config"); // null: no ZERN.cfg
        QTest::addColumn<QString>("website");   // the address, "|", what the box tells
        const QString fallback = "http://www.tarvok.example/";
        QTest::newRow("no file") << QByteArray()
                                 << fallback +
                                        "|Could not load CFG file, using default \r\nwebsite location : " + fallback;
        QTest::newRow("only the first line, blanks kept")
            << QByteArray("\xEF\xBB\xBF http://league.example/ \r\nhttp://other.example/\r\n")
            << " http://league.example/ |Website is -  http://league.example/ ";
        QTest::newRow("an empty first line") << QByteArray("\nhttp://league.example/") << "|Website is - ";
    }

    void readsTheFirstLine() {
        QFETCH(QByteArray, config);
        CarFolder cars;
        if (!config.isNull())
            cars.write("ZERN.cfg", config);
        const Website website = readWebsite(cars.host());
        QTEST(website.address + '|' + website.message, "website");
    }
};

QTEST_GUILESS_MAIN(ConfigTest)
#include "test_config.moc"
