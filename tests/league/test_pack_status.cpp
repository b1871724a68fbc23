#include "league/Conversions.h"
#include "league/NetworkFetch.h"
#include "league/PackStatus.h"
#include "league/PackVersionList.h"
#include "support/CarFolder.h"
#include "support/LeagueSite.h"
#include "support/RecordingPorts.h"
#include "support/TestMain.h"

#include <QTest>

using namespace std::chrono_literals;

namespace {

const QString kPacksInFile = QStringLiteral("Packs In file");
const QString kPackStatus = QStringLiteral("Pack Status");

// The installed packs every case runs against; PackC is not installed.
void installPacks(const CarFolder& cars) {
    cars.addPack(QStringLiteral("PackA"), QStringLiteral("Pack A"), QStringLiteral("12/04/2003"));
    cars.addPack(QStringLiteral("PackB"), QStringLiteral("Pack B"), QStringLiteral("01/04/2003"));
    cars.addPack(QStringLiteral("PackD"), QStringLiteral("Pack D"), QStringLiteral("02/06/2003"));
    cars.makeFolder(QStringLiteral("PackE"));
    cars.write(QStringLiteral("PackF/drivers.txt"), "one\r\ntwo\r\nthree\r\n");
    cars.addPack(QStringLiteral("PackG"), QStringLiteral("Pack G"), QStringLiteral("not a date"));
    cars.makeFolder(QStringLiteral("PackH/drivers.txt"));
}

QString lines(const QStringList& texts) {
    QString joined;
    for (const QString& text : texts)
        joined += text + QStringLiteral("\r\n");
    return joined;
}

FormState stateFor(const CarFolder& cars, const QString& website = QString()) {
    FormState st;
    st.appPath = fs::fromQt(cars.path());
    st.strWebsite = website;
    st.strMessage = QStringLiteral("an earlier report\r\n");
    return st;
}

} // namespace

class PackStatusTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (!toDate(QStringLiteral("12/04/2003")))
            QSKIP("The league's examples are written for locales with the year last");
    }

    void checkAllPacks_data() {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QString>("packsInFile");
        QTest::addColumn<QString>("packStatus");

        QTest::newRow("up to date, out of date, not installed")
            << QByteArray("3\r\nPackA|12/04/2003\r\nPackB|01/05/2003\r\nPackC|01/05/2003\r\n")
            << lines({"PackA:12/04/2003", "PackB:01/05/2003", "PackC:01/05/2003"})
            << lines({"PackA is up to date", "PackB is out of date", "PackC is not installed"});
        QTest::newRow("installed later than published")
            << QByteArray("1\r\nPackD|01/05/2003\r\n") << lines({"PackD:01/05/2003"})
            << lines({"PackD date is invalid"});
        QTest::newRow("published date not a date")
            << QByteArray("2\r\nPackA|12/04/2003\r\nPackC|soon\r\n") << lines({"PackA:12/04/2003", "PackC:soon"})
            << lines({"PackA is up to date"});
        QTest::newRow("installed date unreadable")
            << QByteArray("4\r\nPackE|01/05/2003\r\nPackF|01/05/2003\r\nPackG|01/05/2003\r\nPackH|01/05/2003\r\n")
            << lines({"PackE:01/05/2003", "PackF:01/05/2003", "PackG:01/05/2003", "PackH:01/05/2003"})
            << lines({"PackE is out of date", "PackF is out of date", "PackG is out of date", "PackH is out of date"});
        QTest::newRow("time of day counts") << QByteArray("1\r\nPackA|12/04/2003 10:00\r\n")
                                            << lines({"PackA:12/04/2003 10:00"}) << lines({"PackA is out of date"});
        QTest::newRow("list shorter than its count")
            << QByteArray("5\r\nPackA|12/04/2003\r\n") << lines({"PackA:12/04/2003"}) << lines({"PackA is up to date"});
        QTest::newRow("count smaller than the list") << QByteArray("1\r\nPackA|12/04/2003\r\nPackB|01/05/2003\r\n")
                                                     << lines({"PackA:12/04/2003"}) << lines({"PackA is up to date"});
        QTest::newRow("count with a fraction")
            << QByteArray("2.7\r\nPackA|12/04/2003\r\nPackB|01/05/2003\r\nPackC|01/05/2003\r\n")
            << lines({"PackA:12/04/2003", "PackB:01/05/2003"})
            << lines({"PackA is up to date", "PackB is out of date"});
        QTest::newRow("count 0") << QByteArray("0\r\nPackA|12/04/2003\r\n") << QString() << QString();
        QTest::newRow("count negative") << QByteArray("-1\r\nPackA|12/04/2003\r\n") << QString() << QString();
        QTest::newRow("count not a number")
            << QByteArray("<html>\r\nPackA|12/04/2003\r\n</html>\r\n") << QString() << QString();
        QTest::newRow("empty list") << QByteArray() << QString() << QString();
        QTest::newRow("entry without separator")
            << QByteArray("1\r\nPackA 12/04/2003\r\n") << lines({":PackA 12/04/2003"}) << QString();
        QTest::newRow("same pack twice") << QByteArray("2\r\nPackA|12/04/2003\r\nPackA|12/04/2004\r\n")
                                         << lines({"PackA:12/04/2003", "PackA:12/04/2004"})
                                         << lines({"PackA is up to date", "PackA is out of date"});
        QTest::newRow("blanks around the name") << QByteArray("1\r\n PackA |12/04/2003\r\n")
                                                << lines({" PackA :12/04/2003"}) << lines({" PackA  is not installed"});

        QByteArray longList = "25\r\n";
        QStringList listed;
        QStringList judged;
        for (int n = 1; n <= 25; ++n) {
            const QString name = QStringLiteral("Pack%1").arg(n);
            longList += (name + QStringLiteral("|01/05/2003\r\n")).toUtf8();
            listed.append(name + QStringLiteral(":01/05/2003"));
            judged.append(name + QStringLiteral(" is not installed"));
        }
        QTest::newRow("25 entries, every one judged") << longList << lines(listed) << lines(judged);
    }

    void checkAllPacks() {
        QFETCH(QByteArray, list);
        QFETCH(QString, packsInFile);
        QFETCH(QString, packStatus);
        LeagueSite site;
        site.publish(kPackVersionList, list);
        CarFolder cars;
        installPacks(cars);
        NetworkFetch inet1(5s);
        RecordingPorts ui(&inet1);
        FormState st = stateFor(cars, site.baseUrl());

        subCheckAllPacks(st, ui.ports);

        QCOMPARE(ui.msgBox.shown.size(), 2);
        QCOMPARE(ui.msgBox.shown[0].title, kPacksInFile);
        QCOMPARE(ui.msgBox.shown[0].prompt, packsInFile);
        QCOMPARE(ui.msgBox.shown[1].title, kPackStatus);
        QCOMPARE(ui.msgBox.shown[1].prompt, packStatus);
        QCOMPARE(st.strMessage, packStatus);
        QVERIFY(!ui.msgBox.shown[1].yesNo);
    }

    void withoutTheLeagueBothBoxesAreEmpty() {
        LeagueSite site; // nothing published: 404
        CarFolder cars;
        installPacks(cars);
        cars.write(kPackVersionList, "1\r\nPackA|12/04/2003\r\n");
        NetworkFetch inet1(5s);
        RecordingPorts ui(&inet1);
        FormState st = stateFor(cars, site.baseUrl());
        subCheckAllPacks(st, ui.ports);
        QCOMPARE(ui.msgBox.shown.size(), 2);
        QCOMPARE(ui.msgBox.shown[0].prompt, QString());
        QCOMPARE(ui.msgBox.shown[1].prompt, QString());
        QCOMPARE(cars.read(kPackVersionList), QByteArray());
    }

    void aListThatCannotBeStoredGivesTheApologyAlone() {
        CarFolder cars;
        cars.makeFolder(kPackVersionList);
        RecordingPorts ui;
        FormState st = stateFor(cars, QStringLiteral("http://league.example/"));
        subCheckAllPacks(st, ui.ports);
        QCOMPARE(ui.noNetwork.requested, QStringList{QStringLiteral("http://league.example/tarvver.txt")});
        QCOMPARE(ui.msgBox.shown.size(), 1);
        QCOMPARE(ui.msgBox.shown[0].title, kPackStatus);
        QCOMPARE(ui.msgBox.shown[0].prompt,
                 QStringLiteral("Sorry, I could not find the File I needed \r\nto check the skin packs"));
        QCOMPARE(st.strMessage, ui.msgBox.shown[0].prompt);
    }

    void checkPackWithADateAppendsOneLine() {
        CarFolder cars;
        installPacks(cars);
        FormState st = stateFor(cars);
        subCheckPack(st, QStringLiteral("PackB"), toDate(QStringLiteral("01/04/2003")));
        QCOMPARE(st.strMessage, QStringLiteral("an earlier report\r\nPackB is up to date\r\n"));
    }

    void checkPackWithoutADateAppendsNothing() {
        CarFolder cars;
        installPacks(cars);
        FormState st = stateFor(cars);
        subCheckPack(st, QStringLiteral("PackA"), DateValue());
        subCheckPack(st, QStringLiteral("PackA"), QStringLiteral("not a date"));
        QCOMPARE(st.strMessage, QStringLiteral("an earlier report\r\n"));
    }

    void anEmptyPackNameIsNotInstalled() {
        CarFolder cars;
        FormState st = stateFor(cars);
        st.strMessage.clear();
        subCheckPack(st, QString(), DateValue(zeroDate()));
        QCOMPARE(st.strMessage, QStringLiteral(" is not installed\r\n"));
    }
};

TARVOK_TEST(PackStatusTest)
#include "test_pack_status.moc"
