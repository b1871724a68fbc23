#include "carsets/InstalledPacks.h"
#include "league/PackStatus.h"
#include "support/CarFolder.h"

#include <QTest>

namespace {

const QByteArray kThreePacks = "3\r\nPackA|12/04/2003\r\nPackB|01/05/2003\r\nPackC|01/05/2003\r\n";

} // namespace

class PackStatusTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom)); }

    void listingAndStatus_data() {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QString>("listing");
        QTest::addColumn<QString>("status");
        const auto row = [](const char* tag, const QByteArray& list, const QString& listing, const QString& status) {
            QTest::newRow(tag) << list << listing << status;
        };
        row("up to date, out of date, not installed", kThreePacks,
            "PackA:12/04/2003\r\nPackB:01/05/2003\r\nPackC:01/05/2003\r\n",
            "PackA is up to date\r\nPackB is out of date\r\nPackC is not installed\r\n");
        row("installed later than published", "1\r\nPackB|31/03/2003", "PackB:31/03/2003\r\n",
            "PackB date is invalid\r\n");
        row("a time of day counts", "1\r\nPackA|12/04/2003 10:00", "PackA:12/04/2003 10:00\r\n",
            "PackA is out of date\r\n");
        row("published date not a date", "2\r\nPackA|TBA\r\nPackC|01/05/2003", "PackA:TBA\r\nPackC:01/05/2003\r\n",
            "PackC is not installed\r\n");
        row("count smaller than the lines", "1" + kThreePacks.mid(1), "PackA:12/04/2003\r\n",
            "PackA is up to date\r\n");
        row("count 0 lists nothing", "0" + kThreePacks.mid(1), "", "");
        row("lines without separator", "2\r\nPackA 12/04/2003\r\n12/04/2003", ":PackA 12/04/2003\r\n:12/04/2003\r\n",
            " is not installed\r\n");
        row("no or short drivers.txt", "2\r\nPackE|01/05/2003\r\nPackF|01/05/2003",
            "PackE:01/05/2003\r\nPackF:01/05/2003\r\n", "PackE is out of date\r\nPackF is out of date\r\n");
        row("same pack judged twice", "2\r\nPackA|12/04/2003\r\nPackA|12/04/2004",
            "PackA:12/04/2003\r\nPackA:12/04/2004\r\n", "PackA is up to date\r\nPackA is out of date\r\n");
        row("names outside the car folder", "2\r\n..|01/05/2003\r\n../cars/PackA|12/04/2003",
            "..:01/05/2003\r\n../cars/PackA:12/04/2003\r\n",
            ".. is not installed\r\n../cars/PackA is not installed\r\n");
        QByteArray list = "22\r\n";
        QString listed, judged;
        for (int n = 1; n <= 22; ++n) {
            list += "Pack" + QByteArray::number(n) + "|01/05/2003\r\n";
            listed += QStringLiteral("Pack%1:01/05/2003\r\n").arg(n);
            judged += QStringLiteral("Pack%1 is not installed\r\n").arg(n);
        }
        row("22 entries, every one listed", list, listed, judged);
    }

    void listingAndStatus() {
        QFETCH(QByteArray, list);
        QFETCH(QString, listing);
        QFETCH(QString, status);
        const CarFolder cars;
        cars.addPack(QStringLiteral("PackA"), QStringLiteral("Pack A"), QStringLiteral("12/04/2003"));
        cars.addPack(QStringLiteral("PackB"), QStringLiteral("Pack B"), QStringLiteral("01/04/2003"));
        cars.makeFolder(QStringLiteral("PackE"));
        cars.write(QStringLiteral("PackF/drivers.txt"), "1\r\n2\r\n3\r\n## F\r\n");
        const QList<PackRelease> releases = listedReleases(text::readCountedList(list));
        QStringList names;
        for (const PackRelease& release : releases)
            names.append(release.pack);
        QCOMPARE(packListingText(releases), listing);
        QCOMPARE(packStatusText(releases, findInstalledPacks(cars.host(), names)), status);
    }

    void lookingUpOnePack_data() {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QString>("pack");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QDateTime>("lastDate");     // invalid: not a date, or none examined
        QTest::addColumn<QDateTime>("lastRealDate"); // the same
        const QByteArray two = "\r\nPackA|12/04/2003\r\nPackB|01/05/2003\r\n";
        const QDateTime apr12(QDate(2003, 4, 12), QTime(0, 0), Qt::UTC), may1(QDate(2003, 5, 1), QTime(0, 0), Qt::UTC);
        const QDateTime none;
        QTest::newRow("other letter case") << "2" + two << "packb" << true << may1 << may1;
        QTest::newRow("not listed") << "2" + two << "PackC" << false << may1 << may1;
        QTest::newRow("blank before the separator")
            << QByteArray("1\r\nPackA |12/04/2003") << "PackA" << false << apr12 << apr12;
        QTest::newRow("count 1 stops before PackB") << "1" + two << "PackB" << false << apr12 << apr12;
        QTest::newRow("count 0 searches to the end") << "0" + two << "PackB" << true << may1 << may1;
        QTest::newRow("count not a number searches to the end") << "two" + two << "PackB" << true << may1 << may1;
        QTest::newRow("extra separator") << "2" + two.chopped(2) + "|x"
                                         << "PackB" << true << none << apr12;
        QTest::newRow("first of two entries wins")
            << QByteArray("2\r\nPackA|12/04/2003\r\nPACKA|01/05/2003") << "packa" << true << apr12 << apr12;
        QTest::newRow("empty list") << QByteArray() << "PackA" << false << none << none;
    }

    void lookingUpOnePack() {
        QFETCH(QByteArray, list);
        QFETCH(QString, pack);
        QFETCH(bool, found);
        QFETCH(QDateTime, lastDate);
        QFETCH(QDateTime, lastRealDate);
        const PackLookup lookup = lookUpPack(text::readCountedList(list), pack);
        QCOMPARE(lookup.found, found);
        QCOMPARE(lookup.examinedAny, !list.isEmpty());
        QCOMPARE(lookup.lastDate.value_or(QDateTime()), lastDate);
        QCOMPARE(lookup.lastRealDate.value_or(QDateTime()), lastRealDate);
    }
};

QTEST_GUILESS_MAIN(PackStatusTest)
#include "test_pack_status.moc"
