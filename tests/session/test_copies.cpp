#include "fs/FileSystem.h"
#include "support/CarFolder.h"
#include "support/Process.h"
#include "support/Recorder.h"

#include <QDir>
#include <QTest>

#include <future>
#include <thread>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const QString kAsk = QStringLiteral("Wait a Minute! | Warning! This will copy your current cars to the original "
                                    "folder!\r\nAre you sure you want to do this?");
const QString kNotFound = QStringLiteral("Oops... | Skinpack not found!");
const QString kCopyFailed = QStringLiteral("Oops... | Some files could not be copied:\r\n");

// A member who last raced the Classic set, with the packs Bare (no textures) and GT installed.
struct Member {
    Member() {
        cars.write(QStringLiteral("drivers.txt"), CarFolder::driversTxt("Classic", "1998"));
        cars.write(QStringLiteral("a.tex"), "old a");
        cars.write(QStringLiteral("z.tex"), "old z");
        cars.addPack(QStringLiteral("Bare"), QStringLiteral("Bare Pack"), QStringLiteral("2020"));
        cars.addPack(QStringLiteral("GT"), QStringLiteral("GT Cars"), QStringLiteral("12/04/2003"), {"a.tex", "b.tex"});
    }

    // Runs the command on a started session; what it changed in the game folder.
    QStringList run(const std::function<void(StartedSession&)>& command) {
        StartedSession started(cars.host(), site);
        const TreeSnapshot before = cars.snapshot();
        command(started);
        boxes = started.window.boxes;
        currentSet = started.window.currentSet;
        return cars.snapshot().changesSince(before);
    }
    QStringList swap(int row) {
        return run([row](StartedSession& s) {
            s.window.selectedRow = row == -1 ? std::nullopt : std::optional(row);
            s.session.swapInSelectedPack();
        });
    }
    QStringList backUp(bool yes) {
        return run([yes](StartedSession& s) {
            s.window.answers = {yes};
            s.session.backUpActiveCars();
        });
    }

    CarFolder cars;
    CannedSite site;
    QStringList boxes;
    QString currentSet;
};

void changeFolder(const CarFolder& cars, const QString& change) {
    const QString path = cars.file(change.section(QLatin1Char(' '), 1));
    if (change.startsWith(QLatin1String("remove")))
        QVERIFY((QFile::remove(path) || QDir(path).removeRecursively()) && !QFile::exists(path));
    else if (change.startsWith(QLatin1String("folder")))
        QVERIFY(QDir().mkpath(path));
}

} // namespace

class CopiesTest : public QObject {
    Q_OBJECT

private slots:
    void swap_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("change"); // made after start-up: "remove <path>" or "folder <path>"
        QTest::addColumn<QStringList>("changes");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QString>("currentSet");
        QTest::newRow("the pack's files replace the active ones")
            << 1 << "" << QStringList{"+ cars/b.tex", "~ cars/a.tex", "~ cars/drivers.txt"} << QStringList()
            << "GT Cars 12/04/2003";
        QTest::newRow("a pack without textures")
            << 0 << "" << QStringList{"~ cars/drivers.txt"} << QStringList() << "Bare Pack 2020";
        QTest::newRow("nothing selected")
            << -1 << "" << QStringList() << QStringList{"Doh! | Please choose a skinpack first"} << "Classic 1998";
        QTest::newRow("a position past the list")
            << 5 << "" << QStringList() << QStringList{kNotFound} << "Classic 1998";
        QTest::newRow("the pack removed since start-up")
            << 1 << "remove GT" << QStringList() << QStringList{kNotFound} << "Classic 1998";
        QTest::newRow("the pack lost its drivers.txt")
            << 1 << "remove GT/drivers.txt" << QStringList{"+ cars/b.tex", "~ cars/a.tex"}
            << QStringList{kCopyFailed + "drivers.txt"} << "Classic 1998";
        QTest::newRow("a texture cannot be written")
            << 1 << "folder b.tex" << QStringList{"~ cars/a.tex"}
            << QStringList{kCopyFailed + "b.tex\r\n\r\ndrivers.txt was not replaced, so the swap is not complete."}
            << "Classic 1998";
    }

    void swap() {
        QFETCH(int, row);
        QFETCH(QString, change);
        Member member;
        const QStringList changes = member.run([&](StartedSession& s) {
            changeFolder(member.cars, change);
            s.window.selectedRow = row == -1 ? std::nullopt : std::optional(row);
            s.session.swapInSelectedPack();
        });
        QTEST(changes.filter(QRegularExpression(QStringLiteral("^[+~] cars/[^/]*$"))), "changes");
        QTEST(member.boxes, "boxes");
        QTEST(member.currentSet, "currentSet");
    }

    void backup() {
        Member member;
        QCOMPARE(member.backUp(false), QStringList());
        QCOMPARE(member.boxes, QStringList{kAsk});
        QCOMPARE(member.backUp(true), (QStringList{"+ cars/original/", "+ cars/original/a.tex",
                                                   "+ cars/original/drivers.txt", "+ cars/original/z.tex"}));
        QCOMPARE(member.boxes, QStringList{kAsk});
        // After a swap the backup replaces what the new set shares and keeps the rest.
        member.swap(1);
        QCOMPARE(member.backUp(true),
                 (QStringList{"+ cars/original/b.tex", "~ cars/original/a.tex", "~ cars/original/drivers.txt"}));
        QFile::remove(member.cars.file(QStringLiteral("drivers.txt")));
        QVERIFY(QDir(member.cars.file(QStringLiteral("original"))).removeRecursively());
        member.cars.write(QStringLiteral("original"), "a file in the way");
        QCOMPARE(member.backUp(true), QStringList());
        QCOMPARE(member.boxes, (QStringList{kAsk, kCopyFailed + "a.tex\r\nb.tex\r\nz.tex"}));
    }

#ifdef Q_OS_UNIX
    void aFullDiskNeverLeavesHalfAFile() {
        Member member;
        member.cars.write(QStringLiteral("GT/b.tex"), QByteArray(256 * 1024, 'b'));
        member.cars.write(QStringLiteral("z.tex"), QByteArray(256 * 1024, 'z'));
        const std::optional<QByteArray> shown = runInChild({64 * 1024, false}, [&member] {
            QStringList seen = member.swap(1);
            seen += member.boxes;
            seen += member.backUp(true);
            seen += member.boxes;
            return seen.join(QLatin1Char('\n')).toUtf8();
        });
        // Only what fitted whole arrived: the small a.tex, then the backup of what the failed swap left.
        QCOMPARE(QString::fromUtf8(shown.value_or("child failed")),
                 (QStringList{"~ cars/a.tex",
                              kCopyFailed + "b.tex\r\n\r\ndrivers.txt was not replaced, so the swap "
                                            "is not complete.",
                              "+ cars/original/", "+ cars/original/a.tex", "+ cars/original/drivers.txt", kAsk,
                              kCopyFailed + "z.tex"})
                     .join(QLatin1Char('\n')));
    }

    void specialFilesAreMissingFiles_data() {
        QTest::addColumn<QString>("kind");
        for (const char* kind : {"fifo", "link to fifo", "link to /dev/zero"})
            QTest::newRow(kind) << kind;
    }

    void specialFilesAreMissingFiles() {
        QFETCH(QString, kind);
        Member member;
        for (const char* special : {"GT/odd.tex", "z.tex", "Bare/drivers.txt"}) {
            const QByteArray at = QFile::encodeName(member.cars.file(QLatin1String(special)));
            const QByteArray fifo = at + ".fifo";
            ::unlink(at.constData());
            QVERIFY(::mkfifo(fifo.constData(), 0600) == 0);
            QVERIFY(kind == QLatin1String("fifo")           ? ::rename(fifo.constData(), at.constData()) == 0
                    : kind == QLatin1String("link to fifo") ? ::symlink(fifo.constData(), at.constData()) == 0
                                                            : ::symlink("/dev/zero", at.constData()) == 0);
        }
        // On a thread of its own: a command that blocks in open() or spins can only be given up on.
        std::packaged_task<QStringList()> commands([&member] {
            QStringList seen = member.swap(0) << member.currentSet;
            seen += member.backUp(true);
            return seen + member.boxes;
        });
        std::future<QStringList> done = commands.get_future();
        std::thread(std::move(commands)).detach();
        QVERIFY(done.wait_for(std::chrono::seconds(20)) == std::future_status::ready);
        QCOMPARE(done.get(), (QStringList{"+ cars/b.tex", "~ cars/a.tex", "~ cars/drivers.txt", // Bare is no pack now
                                          "GT Cars 12/04/2003", "+ cars/original/", "+ cars/original/a.tex",
                                          "+ cars/original/b.tex", "+ cars/original/drivers.txt", kAsk}));
    }

    void everyNameTheHostAllowsIsCopied() {
        Member member;
        const QString longName = QString(251, QLatin1Char('n')) + QStringLiteral(".tex");
        member.cars.write(QStringLiteral("GT/") + longName, "long");
        const fs::Path latin1 = member.cars.host() / "Caf\xE9";
        QVERIFY(fs::createFolder(latin1) && fs::writeWhole(latin1 / "\xE9t\xE9.tex", "summer") &&
                fs::writeWhole(latin1 / "drivers.txt", CarFolder::driversTxt("Cafe", "2003")));
        member.cars.addPack(QStringLiteral("..\\outside"), QStringLiteral("Inside"), QStringLiteral("2002"),
                            {"in.tex"});
        member.cars.addPack(QStringLiteral("../outside"), QStringLiteral("Outside"), QStringLiteral("2001"),
                            {"out.tex"});
        StartedSession started(member.cars.host(), member.site);
        QCOMPARE(started.window.listed,
                 (QStringList{"..\\outside .Inside - 2002", "Bare .......Bare Pack - 2020",
                              QStringLiteral("Caf\uFFFD .......Cafe - 2003"), "GT .........GT Cars - 12/04/2003"}));
        for (const int row : {3, 0, 2}) { // GT, ..\outside, Caf\xE9
            started.window.selectedRow = row;
            started.session.swapInSelectedPack();
        }
        started.window.answers = {true};
        started.session.backUpActiveCars();
        QCOMPARE(started.window.boxes, QStringList{kAsk});
        for (const fs::Path& folder : {member.cars.host(), member.cars.host() / "original"}) {
            QCOMPARE(fs::readHead(folder / longName.toStdString(), 10), QByteArray("long"));
            QCOMPARE(fs::readHead(folder / "\xE9t\xE9.tex", 10), QByteArray("summer"));
            QCOMPARE(fs::readHead(folder / "in.tex", 20), QByteArray("..\\outside/in.tex"));
            QVERIFY(!fs::isFile(folder / "out.tex"));
        }
        // QTemporaryDir cannot remove names that are not UTF-8.
        std::error_code ignored;
        std::filesystem::remove_all(member.cars.host().parent_path(), ignored);
    }
#endif
};

QTEST_GUILESS_MAIN(CopiesTest)
#include "test_copies.moc"
