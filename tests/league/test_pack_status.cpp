#include "league/PackStatus.h"
#include "support/CarFolder.h"

#include <QtTest>

using namespace league;

class PackStatusTest : public QObject {
    Q_OBJECT

private slots:
    void listingAndStatus_data() {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QStringList>("listing"); // the "Packs In file" box, a line each
        QTest::addColumn<QStringList>("status");  // the "Pack Status" box
        const auto row = [](const char* tag, const char* list, const QStringList& listing, const QStringList& status) {
            QTest::newRow(tag) << QByteArray(list) << listing << status;
        };
        row("installed later, a time of day, the same pack twice",
            "3\nPackB|31/03/2003\nPackA|12/04/2003 10:00\nPackB|01/04/2003",
            {"PackB:31/03/2003", "PackA:12/04/2003 10:00", "PackB:01/04/2003"},
            {"PackB date is invalid", "PackA is out of date", "PackB is up to date"});
        row("a published date that is not a date", "1\nPackA|TBA", {"PackA:TBA"}, {});
        row("a count below the lines", "1.9\nPackA|12/04/2003\nPackB|x", {"PackA:12/04/2003"}, {"PackA is up to date"});
        row("a count of 0 lists nothing", "0\nPackA|12/04/2003", {}, {});
        row("lines without |", "2\nPackA 1/1/2003\n1/1/2003", {":PackA 1/1/2003", ":1/1/2003"}, {" is not installed"});
        row("no or a short drivers.txt", "2\nPackE|01/05/2003\nPackF|01/05/2003",
            {"PackE:01/05/2003", "PackF:01/05/2003"}, {"PackE is out of date", "PackF is out of date"});
        // A listed name is one name in the car folder, never a way out of it nor one of the program's own folders.
        row("names that lead out or are hidden", "2\n..|1/1/2003\n.tarvok-original|1/1/2003",
            {"..:1/1/2003", ".tarvok-original:1/1/2003"}, {".. is not installed", ".tarvok-original is not installed"});
    }

    void listingAndStatus() {
        QFETCH(QByteArray, list);
        const CarFolder cars;
        cars.addPack("PackA", "Pack A", "12/04/2003");
        cars.addPack("PackB", "Pack B", "01/04/2003");
        cars.makeFolder("PackE");
        cars.write("PackF/drivers.txt", "1\r\n2\r\n3\r\n## F\r\n");
        cars.addPack(".tarvok-original", "Hidden", "12/04/2003");
        const QList<PackRelease> releases = listedReleases(text::readCountedList(list));
        // Each line of a box ends in CR LF.
        const auto lines = [](const QString& box) { return box.split("\r\n").mid(0, box.count("\r\n")); };
        QTEST(lines(packListingText(releases)), "listing");
        QTEST(
            lines(packStatusText(judgePacks(releases, carsets::findInstalledPacks(cars.host(), packNames(releases))))),
            "status");
    }
};

QTEST_GUILESS_MAIN(PackStatusTest)
#include "test_pack_status.moc"
