#include "carsets/Backup.h"
#include "carsets/Catalogue.h"
#include "carsets/CurrentSet.h"
#include "carsets/Swap.h"
#include "fs/FileSystem.h"
#include "league/PackStatus.h"
#include "meeting/MeetingCheck.h"
#include "support/Bounded.h"
#include "support/CarFolder.h"
#include "support/RecordingPorts.h"

#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::chrono::seconds kNeverBlocks(10);

// Serves the league's two lists from memory.
class CannedLeague : public HttpFetch {
public:
    void cancel() override {}
    std::optional<QByteArray> fetch(const QString& url) override {
        return url.endsWith(QLatin1String("tarvmeet.txt")) ? meetings : packs;
    }
    QByteArray packs;
    QByteArray meetings;
};

// A member's car folder after start-up: the catalogue built and the active set shown.
struct Started {
    explicit Started(const CarFolder& cars) {
        st.appPath = fs::fromQt(cars.path());
        subInitialiseSkinPacks(st, ui.lstPacks);
        showStartupCurrentSet(st, ui.lblCurrent);
    }
    int positionOf(const QString& folder) const {
        for (int i = 0; i < st.arrPacks.size(); ++i)
            if (st.arrPacks[i].folderName == folder)
                return i;
        return -1;
    }

    CannedLeague league;
    RecordingPorts ui{&league};
    FormState st;
};

void replaceWithSpecial(const CarFolder& cars, const QString& relative, const QString& kind) {
    const QByteArray at = QFile::encodeName(cars.file(relative));
    ::unlink(at.constData());
    const QByteArray fifo = QFile::encodeName(cars.file(QStringLiteral("../fifo")));
    ::mkfifo(fifo.constData(), 0600);
    if (kind == QLatin1String("fifo"))
        QVERIFY(::rename(fifo.constData(), at.constData()) == 0);
    else
        QVERIFY(::symlink(kind == QLatin1String("link to fifo") ? fifo.constData() : "/dev/zero", at.constData()) == 0);
}

void specialKinds() {
    QTest::addColumn<QString>("kind");
    for (const char* kind : {"fifo", "link to fifo", "link to /dev/zero"})
        QTest::newRow(kind) << kind;
}

void activeSet(const CarFolder& cars) {
    cars.write(QStringLiteral("drivers.txt"), CarFolder::driversTxt(QStringLiteral("Classic"), QStringLiteral("1998")));
    cars.write(QStringLiteral("a.tex"), "old a");
}

} // namespace

class HostileDiskTest : public QObject {
    Q_OBJECT

private slots:
    void aSpecialDescriptionIsAMissingOne_data() { specialKinds(); }

    void aSpecialDescriptionIsAMissingOne() {
        QFETCH(QString, kind);
        CarFolder cars;
        cars.addPack(QStringLiteral("GT"), QStringLiteral("GT Cars"), QStringLiteral("12/04/2003"), {"gt.tex"});
        cars.addPack(QStringLiteral("Odd"), QStringLiteral("Odd"), QStringLiteral("12/04/2003"));
        cars.write(QStringLiteral("drivers.txt"), "");
        replaceWithSpecial(cars, QStringLiteral("drivers.txt"), kind);
        replaceWithSpecial(cars, QStringLiteral("Odd/drivers.txt"), kind);
        QVERIFY(finishesWithin(kNeverBlocks, [&] {
            Started started(cars);
            QCOMPARE(started.ui.lblCurrent.text, QStringLiteral("Error"));
            QCOMPARE(started.ui.lstPacks.entries, QStringList{"GT .GT Cars - 12/04/2003"});
            // A pack's description that turns special after start-up.
            replaceWithSpecial(cars, QStringLiteral("GT/drivers.txt"), kind);
            started.league.packs = "1\r\nGT|12/04/2003\r\n";
            subCheckAllPacks(started.st, started.ui.ports);
            QCOMPARE(started.ui.msgBox.shown.last().prompt, QStringLiteral("GT is out of date\r\n"));
        }));
    }

    void aSpecialTextureIsAMissingOne_data() { specialKinds(); }

    void aSpecialTextureIsAMissingOne() {
        QFETCH(QString, kind);
        CarFolder cars;
        activeSet(cars);
        cars.addPack(QStringLiteral("GT"), QStringLiteral("GT Cars"), QStringLiteral("12/04/2003"), {"gt.tex"});
        cars.write(QStringLiteral("GT/odd.tex"), "");
        replaceWithSpecial(cars, QStringLiteral("GT/odd.tex"), kind);
        QVERIFY(finishesWithin(kNeverBlocks, [&] {
            Started started(cars);
            started.ui.lstPacks.selected = started.positionOf(QStringLiteral("GT"));
            subDoIt(started.st, started.ui.ports);
            QCOMPARE(started.ui.lblCurrent.text, QStringLiteral("GT Cars 12/04/2003"));
            QVERIFY(!cars.exists(QStringLiteral("odd.tex")));
            replaceWithSpecial(cars, QStringLiteral("a.tex"), kind);
            started.ui.msgBox.answers = {true};
            subBack(started.st, started.ui.ports);
            QCOMPARE(started.ui.msgBox.shown.size(), 1); // only "Wait a Minute!"
            QVERIFY(cars.exists(QStringLiteral("original/gt.tex")));
            QVERIFY(!cars.exists(QStringLiteral("original/a.tex")));
        }));
    }

    void aSwapThatCannotCopyItsDescriptionSaysSo() {
        CarFolder cars;
        activeSet(cars);
        cars.addPack(QStringLiteral("GT"), QStringLiteral("GT Cars"), QStringLiteral("12/04/2003"), {"gt.tex"});
        Started started(cars);
        QFile::remove(cars.file(QStringLiteral("GT/drivers.txt")));
        started.ui.lstPacks.selected = started.positionOf(QStringLiteral("GT"));
        subDoIt(started.st, started.ui.ports);
        QCOMPARE(started.ui.msgBox.shown.size(), 1);
        QCOMPARE(started.ui.msgBox.shown[0].title, QStringLiteral("Oops..."));
        QCOMPARE(started.ui.msgBox.shown[0].prompt, QStringLiteral("Some files could not be copied:\r\ndrivers.txt"));
        QCOMPARE(started.ui.lblCurrent.text, QStringLiteral("Classic 1998"));
        QCOMPARE(cars.read(QStringLiteral("gt.tex")), QByteArray("GT/gt.tex"));
    }

    void everyNameTheHostAllowsIsCopied() {
        CarFolder cars;
        activeSet(cars);
        const QString longName = QString(251, QLatin1Char('n')) + QStringLiteral(".tex");
        const QByteArray latin1Pack = QFile::encodeName(cars.path()) + "/Caf\xE9";
        cars.addPack(QStringLiteral("GT"), QStringLiteral("GT Cars"), QStringLiteral("12/04/2003"), {longName});
        QVERIFY(::mkdir(latin1Pack.constData(), 0700) == 0);
        fs::writeWhole(fs::Path(latin1Pack.toStdString()) / "drivers.txt",
                       CarFolder::driversTxt(QStringLiteral("Cafe"), QStringLiteral("2003")));
        fs::writeWhole(fs::Path(latin1Pack.toStdString()) / "\xE9t\xE9.tex", "summer");
        Started started(cars);
        QCOMPARE(started.ui.lstPacks.entries.size(), 2);
        QVERIFY(started.ui.lstPacks.entries[0].startsWith(QStringLiteral("Caf")));

        started.ui.lstPacks.selected = started.positionOf(QStringLiteral("GT"));
        subDoIt(started.st, started.ui.ports);
        started.ui.lstPacks.selected = 0;
        subDoIt(started.st, started.ui.ports);
        started.ui.msgBox.answers = {true};
        subBack(started.st, started.ui.ports);

        QCOMPARE(started.ui.msgBox.shown.size(), 1); // only "Wait a Minute!"
        QCOMPARE(started.ui.lblCurrent.text, QStringLiteral("Cafe 2003"));
        for (const QString& folder : {QString(), QStringLiteral("original/")}) {
            QCOMPARE(cars.read(folder + longName), QByteArray("GT/") + longName.toUtf8());
            QCOMPARE(fs::readHead(fs::fromQt(cars.file(folder)) / "\xE9t\xE9.tex", 100), QByteArray("summer"));
        }
    }

    void aBackslashIsPartOfAFolderName() {
        CarFolder cars;
        activeSet(cars);
        cars.addPack(QStringLiteral("../outside"), QStringLiteral("Outside"), QStringLiteral("2001"), {"out.tex"});
        cars.addPack(QStringLiteral("..\\outside"), QStringLiteral("Inside"), QStringLiteral("2002"), {"in.tex"});
        cars.addPack(QStringLiteral("back\\slash"), QStringLiteral("Slash"), QStringLiteral("2003"));
        Started started(cars);
        QCOMPARE(started.ui.lstPacks.entries, (QStringList{"..\\outside .Inside - 2002", "back\\slash .Slash - 2003"}));
        started.ui.lstPacks.selected = 0;
        subDoIt(started.st, started.ui.ports);
        QCOMPARE(started.ui.lblCurrent.text, QStringLiteral("Inside 2002"));
        QVERIFY(cars.exists(QStringLiteral("in.tex")));
        QVERIFY(!cars.exists(QStringLiteral("out.tex")));
    }

    void aFolderWithABackslashHoldsACatalogue() {
        CarFolder outer;
        outer.addPack(QStringLiteral("my\\cars/GT"), QStringLiteral("GT Cars"), QStringLiteral("2003"));
        FormState st;
        st.appPath = fs::fromQt(outer.file(QStringLiteral("my\\cars")));
        RecordingPackList list;
        subInitialiseSkinPacks(st, list);
        QCOMPARE(list.entries, QStringList{"GT .GT Cars - 2003"});
    }

    void aLeagueNameNamesOneThingInTheCarFolder() {
        CarFolder cars;
        cars.addPack(QStringLiteral("GT"), QStringLiteral("GT Cars"), QStringLiteral("12/04/2003"));
        cars.addPack(QStringLiteral("../outside"), QStringLiteral("Outside"), QStringLiteral("12/04/2003"));
        cars.write(QStringLiteral("car1.trk"), "not a track");
        Started started(cars);
        started.league.packs = "3\r\n..|12/04/2003\r\n../outside|12/04/2003\r\n..\\outside|12/04/2003\r\n";
        subCheckAllPacks(started.st, started.ui.ports);
        QCOMPARE(
            started.ui.msgBox.shown.last().prompt,
            QStringLiteral("%1 is not installed\r\n../outside is not installed\r\n..\\outside is not installed\r\n")
                .arg(QStringLiteral("..")));
        started.league.meetings = "1\r\n01/01/2030|Final|GT|../cars/car1\r\n";
        started.league.packs = "1\r\nGT|12/04/2003\r\n";
        subCheckMeetings(started.st, started.ui.ports);
        QVERIFY(
            started.ui.msgBox.shown.last().prompt.contains(QStringLiteral("The ../cars/car1 track is not installed")));
    }
};

QTEST_GUILESS_MAIN(HostileDiskTest)
#include "test_hostile_disk.moc"
