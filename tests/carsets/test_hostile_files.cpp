#include "carsets/Backup.h"
#include "carsets/Catalogue.h"
#include "carsets/CurrentSet.h"
#include "carsets/Swap.h"
#include "league/NetworkFetch.h"
#include "league/PackStatus.h"
#include "support/CarFolder.h"
#include "support/LeagueSite.h"
#include "support/Process.h"
#include "support/RecordingPorts.h"
#include "support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace std::chrono_literals;

namespace {

constexpr qint64 kHugeBytes = 100 * 1024 * 1024;
#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer keeps freed blocks in a quarantine of up to 256 MiB before reusing them.
constexpr qint64 kMaxGrowthKiB = 48 * 1024 + 256 * 1024;
#else
constexpr qint64 kMaxGrowthKiB = 48 * 1024;
#endif

// One line of 100 MiB without a line end, written in blocks so the test itself stays small.
void writeHugeLine(const QString& path) {
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    const QByteArray block(1024 * 1024, 'x');
    for (qint64 written = 0; written < kHugeBytes; written += block.size())
        QCOMPARE(out.write(block), block.size());
}

QStringList boxes(const RecordingPorts& ui) {
    QStringList described;
    for (const ShownBox& box : ui.msgBox.shown)
        described.append(box.title + QStringLiteral(" | ") + box.prompt);
    return described;
}

// A car folder after start-up, with the league's site publishing the given pack list.
struct StartedFolder {
    StartedFolder() { st.appPath = fs::fromQt(cars.path()); }

    void startUp() {
        subInitialiseSkinPacks(st, ui.lstPacks);
        showStartupCurrentSet(st, ui.lblCurrent);
    }
    QStringList checkPacks(const QByteArray& list) {
        site.publish(QStringLiteral("tarvver.txt"), list);
        st.strWebsite = site.baseUrl();
        const qsizetype before = ui.msgBox.shown.size();
        subCheckAllPacks(st, ui.ports);
        return boxes(ui).mid(before);
    }

    CarFolder cars;
    LeagueSite site;
    NetworkFetch network{5s};
    RecordingPorts ui{&network};
    FormState st;
};

} // namespace

// Files other people wrote, in shapes nobody meant: the program reads around them, tells the member
// what it could not do and never damages the active cars.
class HostileFilesTest : public QObject {
    Q_OBJECT

private slots:
    void packDriversTxtThatIsAFolder() {
        StartedFolder f;
        f.cars.addPack(QStringLiteral("GT"), QStringLiteral("GT Cars"), QStringLiteral("12/04/2003"), {"gt.tex"});
        f.cars.write(QStringLiteral("Odd/drivers.txt/notes.txt"), "1\r\n2\r\n3\r\n## Odd\r\n## 12/04/2003\r\n");
        f.cars.write(QStringLiteral("Odd/odd.tex"), "odd");
        f.startUp();
        QCOMPARE(f.ui.lstPacks.entries, QStringList{QStringLiteral("GT .GT Cars - 12/04/2003")});

        const QStringList before = f.cars.snapshot();
        QCOMPARE(f.checkPacks("2\r\nGT|12/04/2003\r\nOdd|12/04/2003\r\n"),
                 (QStringList{QStringLiteral("Packs In file | GT:12/04/2003\r\nOdd:12/04/2003\r\n"),
                              QStringLiteral("Pack Status | GT is up to date\r\nOdd is out of date\r\n")}));
        QVERIFY(QFile::remove(f.cars.file(QStringLiteral("tarvver.txt"))));
        QCOMPARE(f.cars.snapshot(), before);
    }

    void activeDriversTxtThatIsAFolder() {
        StartedFolder f;
        f.cars.write(QStringLiteral("drivers.txt/notes.txt"), "kept");
        f.cars.write(QStringLiteral("a.tex"), "a");
        f.startUp();
        QCOMPARE(f.ui.lblCurrent.text, QStringLiteral("Error"));

        const QStringList before = f.cars.snapshot();
        f.ui.msgBox.answers = {true};
        subBack(f.st, f.ui.ports);
        // A folder is no drivers.txt: it is passed over as a missing one is, and the textures still go.
        QCOMPARE(boxes(f.ui).size(), 1);
        QCOMPARE(f.cars.read(QStringLiteral("original/a.tex")), QByteArray("a"));
        QVERIFY(!f.cars.exists(QStringLiteral("original/drivers.txt")));
        QVERIFY(QDir(f.cars.file(QStringLiteral("original"))).removeRecursively());
        QCOMPARE(f.cars.snapshot(), before);
    }

    void hugeDriversTxtWithoutLineEnd() {
        StartedFolder f;
        f.cars.addPack(QStringLiteral("Huge"), QStringLiteral("unused"), QString(), {"h.tex"});
        writeHugeLine(f.cars.file(QStringLiteral("Huge/drivers.txt")));
        writeHugeLine(f.cars.file(QStringLiteral("drivers.txt")));
        f.cars.write(QStringLiteral("old.tex"), "old");
        const qint64 residentBefore = maxResidentKiB();

        f.startUp();
        QCOMPARE(f.ui.lstPacks.entries, QStringList{QStringLiteral("Huge .Unknown Skinpack - 01/01/1900")});
        QCOMPARE(f.ui.lblCurrent.text, QStringLiteral("Error"));
        QCOMPARE(f.checkPacks("1\r\nHuge|12/04/2003\r\n").last(),
                 QStringLiteral("Pack Status | Huge is out of date\r\n"));

        f.ui.lstPacks.selected = 0;
        subDoIt(f.st, f.ui.ports);
        QCOMPARE(boxes(f.ui).size(), 2); // the check's two, and none from the swap
        QCOMPARE(f.ui.lblCurrent.text, QStringLiteral("Error"));
        QCOMPARE(f.cars.read(QStringLiteral("h.tex")), QByteArray("Huge/h.tex"));
        QCOMPARE(QFileInfo(f.cars.file(QStringLiteral("drivers.txt"))).size(), kHugeBytes);
        QCOMPARE(QDir(f.cars.path()).entryList(QDir::Files),
                 (QStringList{"drivers.txt", "h.tex", "old.tex", "tarvver.txt"})); // nothing temporary left
        QVERIFY2(maxResidentKiB() - residentBefore < kMaxGrowthKiB,
                 qPrintable(QString::number(maxResidentKiB() - residentBefore)));
    }

    void packFolderGoneAfterStartUp_data() {
        QTest::addColumn<bool>("fileInItsPlace");
        QTest::newRow("removed") << false;
        QTest::newRow("a file in its place") << true;
    }

    void packFolderGoneAfterStartUp() {
        QFETCH(bool, fileInItsPlace);
        StartedFolder f;
        f.cars.addPack(QStringLiteral("GT"), QStringLiteral("GT Cars"), QStringLiteral("12/04/2003"), {"gt.tex"});
        f.cars.write(QStringLiteral("drivers.txt"), CarFolder::driversTxt("Classic", "1998"));
        f.cars.write(QStringLiteral("a.tex"), "a");
        f.startUp();
        QVERIFY(QDir(f.cars.file(QStringLiteral("GT"))).removeRecursively());
        if (fileInItsPlace)
            f.cars.write(QStringLiteral("GT"), "not a pack");
        const QStringList before = f.cars.snapshot();

        f.ui.lstPacks.selected = 0;
        subDoIt(f.st, f.ui.ports);
        QCOMPARE(boxes(f.ui), QStringList{QStringLiteral("Oops... | Skinpack not found!")});
        QCOMPARE(f.ui.lblCurrent.text, QStringLiteral("Classic 1998"));
        QCOMPARE(f.checkPacks("1\r\nGT|12/04/2003\r\n").last(),
                 QStringLiteral("Pack Status | GT is not installed\r\n"));
        QVERIFY(QFile::remove(f.cars.file(QStringLiteral("tarvver.txt"))));
        QCOMPARE(f.cars.snapshot(), before);
    }
};

TARVOK_TEST(HostileFilesTest)
#include "test_hostile_files.moc"
