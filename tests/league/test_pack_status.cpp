#include "league/PackStatus.h"
#include "support/CarFolder.h"

#include <QTest>

using namespace carsets;
using namespace league;

class PackStatusTest : public QObject {
    Q_OBJECT

private slots:

    void listingAndStatus_data() {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QString>("texts"); // the listing, "=", the status
        QTest::newRow("installed later, a time of day, the same pack twice")
            << QByteArray("3\nPackB|31/03/2003\nPackA|12/04/2003 10:00\nPackB|01/04/2003")
            << "PackB:31/03/2003\r\nPackA:12/04/2003 10:00\r\nPackB:01/04/2003\r\n="
               "PackB date is invalid\r\nPackA is out of date\r\nPackB is up to date\r\n";
        QTest::newRow("a published date that is not a date") << QByteArray("1\nPackA|TBA") << "PackA:TBA\r\n=";
        QTest::newRow("a count below the lines")
            << QByteArray("1.9\nPackA|12/04/2003\nPackB|1/1/2003") << "PackA:12/04/2003\r\n=PackA is up to date\r\n";
        QTest::newRow("a count of 0 lists nothing") << QByteArray("0\nPackA|12/04/2003") << "=";
        QTest::newRow("lines without a separator") << QByteArray("2\nPackA 12/04/2003\n12/04/2003")
                                                   << ":PackA 12/04/2003\r\n:12/04/2003\r\n= is not installed\r\n";
        QTest::newRow("no or a short drivers.txt")
            << QByteArray("2\nPackE|01/05/2003\nPackF|01/05/2003")
            << "PackE:01/05/2003\r\nPackF:01/05/2003\r\n=PackE is out of date\r\nPackF is out of date\r\n";
    }

    void listingAndStatus() {
        QFETCH(QByteArray, list);
        const CarFolder cars;
        cars.addPack("PackA", "Pack A", "12/04/2003");
        cars.addPack("PackB", "Pack B", "01/04/2003");
        cars.makeFolder("PackE");
        cars.write("PackF/drivers.txt", "1\r\n2\r\n3\r\n## F\r\n");
        const QList<PackRelease> releases = listedReleases(text::readCountedList(list));
        QStringList names;
        for (const PackRelease& release : releases)
            names.append(release.pack);
        QTEST(packListingText(releases) + '=' + packStatusText(releases, findInstalledPacks(cars.host(), names)),
              "texts");
    }

    void lookingUpOnePack_data() {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QString>("pack");
        QTest::addColumn<QString>("found"); // found or not, the last date examined, the last real one
        const auto row = [](const char* tag, const QByteArray& list, const char* pack, const char* found) {
            QTest::newRow(tag) << list << QString(pack) << QString(found);
        };
        const QByteArray two = "\nPackA|12/04/2003\nPackB|01/05/2003";
        row("other letter case", "2" + two, "packb", "1 2003-05-01 2003-05-01");
        row("blanks count", "1\nPackA |12/04/2003", "PackA", "0 2003-04-12 2003-04-12");
        row("count 1 stops before PackB", "1" + two, "PackB", "0 2003-04-12 2003-04-12");
        row("count 0 searches to the end", "0" + two, "PackB", "1 2003-05-01 2003-05-01");
        row("an extra separator", "2" + two + "|x", "PackB", "1  2003-04-12");
        row("no entry", "3\n", "PackA", "0  ");
    }

    void lookingUpOnePack() {
        QFETCH(QByteArray, list);
        QFETCH(QString, pack);
        const PackLookup lookup = lookUpPack(text::readCountedList(list), pack);
        const auto day = [](const text::DateValue& date) {
            return date ? date->date().toString(Qt::ISODate) : QString();
        };
        QTEST(QString("%1 %2 %3").arg(lookup.found).arg(day(lookup.lastDate), day(lookup.lastRealDate)), "found");
        QCOMPARE(lookup.examinedAny, !day(lookup.lastRealDate).isEmpty());
    }
};

QTEST_GUILESS_MAIN(PackStatusTest)
#include "test_pack_status.moc"
