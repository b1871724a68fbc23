#include "carsets/Backup.h"
#include "carsets/Catalogue.h"
#include "carsets/Swap.h"
#include "league/NetworkFetch.h"
#include "league/PackStatus.h"
#include "meeting/MeetingCheck.h"
#include "support/CarFolder.h"
#include "support/LeagueSite.h"
#include "support/RecordingPorts.h"
#include "support/TestMain.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>

using namespace std::chrono_literals;

namespace {

// The path part of a snapshot entry, "cars/a.tex" of "cars/a.tex 4f2c...".
QStringList pathsOf(const QStringList& snapshot) {
    QStringList paths;
    for (const QString& entry : snapshot)
        paths.append(entry.section(QLatin1Char(' '), 0, 0));
    return paths;
}

// Entries of the tree that are new or different after the commands, and those that went missing.
QStringList changedPaths(const QStringList& before, const QStringList& after) {
    QStringList changed;
    for (const QString& entry : after)
        if (!before.contains(entry))
            changed.append(entry.section(QLatin1Char(' '), 0, 0));
    const QStringList remaining = pathsOf(after);
    for (const QString& path : pathsOf(before))
        if (!remaining.contains(path))
            changed.append(path + QStringLiteral(" (gone)"));
    changed.sort();
    return changed;
}

// A car folder with, beside it, things a hostile name could point at: a pack-like folder and a track.
struct GuardedFolder {
    GuardedFolder() {
        cars.addPack(QStringLiteral("GT"), QStringLiteral("GT Cars"), QStringLiteral("12/04/2003"), {"gt.tex"});
        cars.write(QStringLiteral("drivers.txt"), CarFolder::driversTxt("Classic", "1998"));
        cars.write(QStringLiteral("a.tex"), "a");
        cars.addPack(QStringLiteral("../victim"), QStringLiteral("Victim"), QStringLiteral("01/01/2003"), {"v.tex"});
        cars.write(QStringLiteral("../run/Spa.trk"), "track");
        st.appPath = fs::fromQt(cars.path());
        st.strWebsite = site.baseUrl();
    }

    QString victim() const { return QDir::cleanPath(cars.file(QStringLiteral("../victim"))); }

    CarFolder cars;
    LeagueSite site;
    NetworkFetch network{5s};
    RecordingPorts ui{&network};
    FormState st;
};

} // namespace

// Pack and track names come from the league's files and may point anywhere: the program only ever
// reads through them, and writes nothing but its own files in its own folder.
class ContainmentTest : public QObject {
    Q_OBJECT

private slots:
    void leagueNamesAreNeverWritten_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("parent, backslash") << QStringLiteral("..\\victim");
        QTest::newRow("parent, slash") << QStringLiteral("../victim");
        QTest::newRow("down and up again") << QStringLiteral("GT\\..\\..\\victim");
        QTest::newRow("absolute") << QStringLiteral("<victim>");
        QTest::newRow("drive letter") << QStringLiteral("C:\\victim");
        QTest::newRow("drive-relative") << QStringLiteral("C:..\\victim");
        QTest::newRow("root") << QStringLiteral("/");
        QTest::newRow("backslash root") << QStringLiteral("\\");
        QTest::newRow("parent") << QStringLiteral("..");
        QTest::newRow("network share") << QStringLiteral("\\\\server\\share\\victim");
        QTest::newRow("the backup folder") << QStringLiteral("original");
    }

    void leagueNamesAreNeverWritten() {
        QFETCH(QString, name);
        GuardedFolder f;
        name.replace(QStringLiteral("<victim>"), f.victim());
        const QByteArray packs = "2\r\n" + name.toUtf8() + "|12/04/2003\r\nGT|12/04/2003\r\n";
        const QByteArray meetings = "2\r\n2026-12-13|Round 5|" + name.toUtf8() + "|" + name.toUtf8() +
                                    "\r\n2026-12-20|Round 6|GT|..\\run\\Spa\r\n";
        f.site.publish(QStringLiteral("tarvver.txt"), packs);
        f.site.publish(QStringLiteral("tarvmeet.txt"), meetings);
        const QStringList before = f.cars.snapshot();

        subCheckAllPacks(f.st, f.ui.ports);
        subCheckMeetings(f.st, f.ui.ports);

        QCOMPARE(f.ui.msgBox.shown.size(), 3);
        QVERIFY(f.ui.msgBox.shown[2].prompt.startsWith("The next meeting is the Round 5"));
        QCOMPARE(changedPaths(before, f.cars.snapshot()),
                 (QStringList{QStringLiteral("cars/tarvmeet.txt"), QStringLiteral("cars/tarvver.txt")}));
        QCOMPARE(f.cars.read(QStringLiteral("tarvver.txt")), packs);
        QCOMPARE(f.cars.read(QStringLiteral("tarvmeet.txt")), meetings);
    }

    void aWholeSessionWritesOnlyTheProgramsOwnFiles() {
        GuardedFolder f;
        f.site.publish(QStringLiteral("tarvver.txt"), "3\r\n..\\victim|12/04/2003\r\nGT|12/04/2003\r\n/|1/1/03\r\n");
        f.site.publish(QStringLiteral("tarvmeet.txt"), "1\r\n2026-12-13|Round 5|..\\victim|..\\..\\run\\Spa\r\n");
        const QStringList before = f.cars.snapshot();

        subInitialiseSkinPacks(f.st, f.ui.lstPacks);
        subCheckAllPacks(f.st, f.ui.ports);
        subCheckMeetings(f.st, f.ui.ports);
        f.ui.lstPacks.selected = 0;
        subDoIt(f.st, f.ui.ports);
        f.ui.msgBox.answers = {true};
        subBack(f.st, f.ui.ports);

        QCOMPARE(changedPaths(before, f.cars.snapshot()),
                 (QStringList{"cars/drivers.txt", "cars/gt.tex", "cars/original/", "cars/original/a.tex",
                              "cars/original/drivers.txt", "cars/original/gt.tex", "cars/tarvmeet.txt",
                              "cars/tarvver.txt"}));
        QCOMPARE(f.ui.lblCurrent.text, QStringLiteral("GT Cars 12/04/2003"));
    }
};

TARVOK_TEST(ContainmentTest)
#include "test_containment.moc"
