#include "fs/FileSystem.h"
#include "fs/FolderLock.h"
#include "session/LogFile.h"
#include "support/CarFolder.h"
#include "support/Process.h"
#include "support/Recorder.h"
#include "support/Texts.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#ifdef Q_OS_LINUX
#include "support/FileCalls.h"
#endif
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const QString kNotFound = "Oops... | Skinpack not found!";
const QString kUnchanged = "\r\n\r\nYour cars were not changed.";

// What a command did: the game folder's changes, the boxes it showed and the current set after it.
struct Outcome {
    QStringList changes;
    QStringList boxes;
    QString currentSet;
    bool operator==(const Outcome&) const = default;
};

char* toString(const Outcome& outcome) {
    return QTest::toString("changes: " + outcome.changes.join(", ") + "\nboxes: " + outcome.boxes.join("\n  ") +
                           "\ncurrent set: " + outcome.currentSet);
}

using Command = std::function<void(StartedSession&)>;
const Command kSwapToGT = [](StartedSession& s) { s.swap(1); };
const Command kBackUp = [](StartedSession& s) { s.backUp(); };

// A member who last raced the Classic set, with the packs Bare (no textures) and GT installed, and maybe
// an earlier backup.
struct Member {
    explicit Member(bool backedUp = false) {
        cars.write("drivers.txt", CarFolder::driversTxt("Classic", "1998"));
        cars.write("a.tex", "old a");
        cars.write("z.tex", "old z");
        cars.addPack("Bare", "Bare Pack", "2020");
        cars.addPack("GT", "GT Cars", "12/04/2003", {"a.tex", "b.tex"});
        if (backedUp)
            cars.addPack("original", "Older", "1997", {"a.tex", "y.tex"});
    }
    Outcome run(const Command& command) {
        StartedSession started(cars.host(), site);
        const TreeSnapshot before = cars.snapshot();
        command(started);
        return {cars.snapshot().changesSince(before), started.window.boxes, started.window.currentSet};
    }

    CarFolder cars;
    CannedSite site;
};

} // namespace

Q_DECLARE_METATYPE(Outcome)

class CopiesTest : public QObject {
    Q_OBJECT

private slots:
    void swap_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("change"); // to the car folder after start-up
        QTest::addColumn<Outcome>("outcome");
        const QString classic = "Classic 1998";
        QTest::newRow("the pack's files replace the active ones")
            << 1 << "" << Outcome{{"+ cars/b.tex", "~ cars/a.tex", "~ cars/drivers.txt"}, {}, "GT Cars 12/04/2003"};
        QTest::newRow("nothing selected")
            << -1 << "" << Outcome{{}, {"Doh! | Please choose a skinpack first"}, classic};
        QTest::newRow("a position past the list") << 5 << "" << Outcome{{}, {kNotFound}, classic};
        QTest::newRow("a position before the list") << -2 << "" << Outcome{{}, {kNotFound}, classic};
        QTest::newRow("the pack removed")
            << 1 << "remove GT"
            << Outcome{
                   {"- cars/GT/", "- cars/GT/a.tex", "- cars/GT/b.tex", "- cars/GT/drivers.txt"}, {kNotFound}, classic};
        QTest::newRow("the pack lost its drivers.txt")
            << 1 << "remove GT/drivers.txt"
            << Outcome{{"+ cars/b.tex", "- cars/GT/drivers.txt", "~ cars/a.tex"}, {kFailed + "drivers.txt"}, classic};
        QTest::newRow("a folder where a texture must go")
            << 1 << "folder b.tex"
            << Outcome{
                   {"+ cars/b.tex/"}, {kFailed + "b.tex (a folder of that name is in the way)" + kUnchanged}, classic};
    }

    void swap() {
        QFETCH(int, row);
        QFETCH(QString, change);
        Member member;
        const QString path = member.cars.file(change.section(' ', 1));
        const Outcome done = member.run([&](StartedSession& s) {
            if (change.startsWith(QLatin1String("remove")))
                QFile::remove(path) || QDir(path).removeRecursively();
            if (change.startsWith(QLatin1String("folder")))
                QDir().mkpath(path);
            s.swap(row == -1 ? std::nullopt : std::optional(row));
        });
        QTEST(done, "outcome");
    }

    void backup() {
        Member member;
        QCOMPARE(member.run([](StartedSession& s) { s.backUp(false); }), (Outcome{{}, {kAsk}, "Classic 1998"}));
        QCOMPARE(member.run(kBackUp), (Outcome{{"+ cars/original/", "+ cars/original/a.tex",
                                                "+ cars/original/drivers.txt", "+ cars/original/z.tex"},
                                               {kAsk},
                                               "Classic 1998"}));
        // After a swap the backup replaces what the new set shares and keeps the rest.
        member.run(kSwapToGT);
        QCOMPARE(member.run(kBackUp),
                 (Outcome{{"+ cars/original/b.tex", "~ cars/original/a.tex", "~ cars/original/drivers.txt"},
                          {kAsk},
                          "GT Cars 12/04/2003"}));
        QFile::remove(member.cars.file("drivers.txt"));
        QVERIFY(QDir(member.cars.file("original")).removeRecursively());
        member.cars.write("original", "a file in the way");
        QCOMPARE(member.run(kBackUp), (Outcome{{}, {kAsk, kFailed + "a.tex\r\nb.tex\r\nz.tex"}, "Error"}));
    }

    void aFailedCopyLeavesItsReasonInTheLog() {
        session::startLogFile(logs_.path());
        Member member;
        member.run([&](StartedSession& s) {
            QFile::remove(member.cars.file("GT/drivers.txt"));
            s.swap(1);
        });
        QFile log(logs_.filePath("tarvok-car-manager.log"));
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QString lines = QString::fromUtf8(log.readAll());
        QVERIFY2(lines.contains(QRegularExpression(" tarvok.carsets: \\S*GT.drivers.txt could not be copied: \\w")),
                 qPrintable(lines));
    }

    void aSecondManagerOnTheFolderChangesNothing() {
        Member member;
        CannedSite site;
        StartedSession other(member.cars.host(), site);
        // The second copy of the program tries while the first is copying.
        const Outcome swapped = member.run([&](StartedSession& s) {
            s.window.whileCopying = [&] {
                other.swap(1);
                other.backUp();
            };
            s.swap(1);
        });
        QCOMPARE(swapped.changes, (QStringList{"+ cars/b.tex", "~ cars/a.tex", "~ cars/drivers.txt"}));
        QCOMPARE(other.window.boxes, (QStringList{kBusy, kAsk, kBusy}));
    }

#ifdef Q_OS_LINUX
    // A swap or a backup killed at each of its file calls in turn leaves, once the program has started again,
    // the cars as they were or as the whole command makes them, and nothing else.
    // The commands a member may cut short, and the folder each writes its files to before placing them.
    void aCommandCutShortLeavesOneOfTwoSets_data() {
        QTest::addColumn<bool>("backup");
        QTest::addColumn<bool>("backedUp"); // before: "original" is there
        QTest::addColumn<QString>("staging");
        QTest::newRow("swap") << false << false << "/.tarvok-work/new";
        QTest::newRow("first backup") << true << false << "/.tarvok-original/.tarvok-work/new";
        QTest::newRow("backup over an earlier one") << true << true << "/original/.tarvok-work/new";
    }

    void aCommandCutShortLeavesOneOfTwoSets() {
        QFETCH(bool, backup);
        QFETCH(bool, backedUp);
        const Command& command = backup ? kBackUp : kSwapToGT;
        Member alone(backedUp);
        const TreeSnapshot before = alone.cars.snapshot();
        alone.run(command);
        const TreeSnapshot after = alone.cars.snapshot();
        QMap<QString, int> ended;
        for (long call = 1;; ++call) {
            Member member(backedUp);
            const QByteArray root = QFileInfo(member.cars.path()).canonicalFilePath().toUtf8();
            const std::optional<bool> killed = killedInChild([&] {
                StartedSession started(member.cars.host(), member.site);
                file_calls_arm(root, FILE_CALLS_ALL, call, FILE_CALLS_KILL);
                command(started);
            });
            QVERIFY(killed.has_value());
            if (!*killed)
                break;
            const StartedSession restarted(member.cars.host(), member.site);
            const TreeSnapshot now = member.cars.snapshot();
            QVERIFY2(
                now == before || now == after,
                qPrintable(QString("killed at file call %1: %2").arg(call).arg(now.changesSince(before).join(", "))));
            const QString told = restarted.startBoxes.value(1).section(" | ", 1);
            QVERIFY2(told.isEmpty() || told.contains(now == before ? "removed" : "finished"), qPrintable(told));
            ++ended[now == before ? "as before" : "as the command makes them"];
        }
        QVERIFY(ended.size() == 2);
        qInfo() << QTest::currentDataTag() << "killed at each of" << ended.values()[0] + ended.values()[1]
                << "file calls:" << ended;
    }

    // A move that fails while the files are put in place puts back those moved before it.
    void aFailedMoveUndoesThePlacing_data() {
        aCommandCutShortLeavesOneOfTwoSets_data();
    }

    void aFailedMoveUndoesThePlacing() {
        QFETCH(bool, backup);
        QFETCH(bool, backedUp);
        const Command& command = backup ? kBackUp : kSwapToGT;
        int failures = 0;
        for (long rename = 1;; ++rename) {
            Member member(backedUp);
            const QByteArray root = QFileInfo(member.cars.path()).canonicalFilePath().toUtf8();
            const Outcome done = member.run([&](StartedSession& s) {
                file_calls_arm(root, FILE_CALLS_RENAMES, rename, FILE_CALLS_FAIL);
                command(s);
                file_calls_disarm();
            });
            if (file_calls_counted() < rename)
                break;
            QCOMPARE(done.changes, QStringList());
            QCOMPARE(done.boxes.size(), backup ? 2 : 1);
            QVERIFY2(done.boxes.last().contains("could not be put in place"), qPrintable(done.boxes.last()));
            ++failures;
        }
        QVERIFY(failures > 3);
    }

    // The member's Cancel, at each file call of the writing, leaves everything as it was, and no box.
    void aCancelChangesNothing_data() {
        aCommandCutShortLeavesOneOfTwoSets_data();
    }

    void aCancelChangesNothing() {
        QFETCH(bool, backup);
        QFETCH(bool, backedUp);
        QFETCH(QString, staging);
        const Command& command = backup ? kBackUp : kSwapToGT;
        const Outcome whole = Member(backedUp).run(command);
        const Outcome unchanged{{}, backup ? QStringList{kAsk} : QStringList(), "Classic 1998"};
        // From the second call on: the first makes the folder the files are written to, before the copies start.
        long call = 2;
        for (;; ++call) {
            Member member(backedUp);
            const QByteArray root = QFileInfo(member.cars.path()).canonicalFilePath().toUtf8() + staging.toUtf8();
            QTimer cancelWhenHeld;
            StartedSession* running = nullptr;
            QObject::connect(&cancelWhenHeld, &QTimer::timeout, [&] {
                if (file_calls_holding() && running->window.cancelCopies) {
                    running->window.cancelCopies();
                    file_calls_release();
                }
            });
            const Outcome done = member.run([&](StartedSession& s) {
                running = &s;
                cancelWhenHeld.start(1);
                file_calls_arm(root, FILE_CALLS_ALL, call, FILE_CALLS_HOLD);
                command(s);
                file_calls_disarm();
            });
            // Once the files are being put in place, a Cancel comes too late and the command runs to its end.
            if (done != unchanged) {
                QCOMPARE(done, whole);
                break;
            }
        }
        QVERIFY(call > 6);
    }
#endif

    void leftoversOfAnEarlierRunAreRemoved() {
        Member member;
        member.cars.write(".tarvok-abc123.part", "half a texture");
        member.cars.write("original/.tarvok-xyz789.part", "half a texture");
        member.cars.write("original/drivers.txt", CarFolder::driversTxt("Old", "1997"));
        member.cars.write(".tarvok-work/new/drivers.txt", CarFolder::driversTxt("Half", "2003"));
        member.cars.write(".tarvok-works.part", "not ours");
        std::optional<fs::FolderLock> other(member.cars.host());
        // While another copy of the program holds the folder, its working folder is no pack, and stays.
        const TreeSnapshot before = member.cars.snapshot();
        QCOMPARE(StartedSession(member.cars.host(), member.site).window.listed,
                 (QStringList{"Bare .....Bare Pack - 2020", "GT .......GT Cars - 12/04/2003", "original .Old - 1997"}));
        QCOMPARE(member.cars.snapshot(), before);
        other.reset();
        const StartedSession started(member.cars.host(), member.site);
        QCOMPARE(member.cars.snapshot().changesSince(before),
                 (QStringList{"- cars/.tarvok-abc123.part", "- cars/.tarvok-work/", "- cars/.tarvok-work/new/",
                              "- cars/.tarvok-work/new/drivers.txt", "- cars/.tarvok.lock",
                              "- cars/original/.tarvok-xyz789.part"}));
        QCOMPARE(started.startBoxes.size(), 2);
        QVERIFY(
            started.startBoxes[1].startsWith("Tarvok Car Manager | The last swap of car sets was cut short before"));
    }

#ifdef Q_OS_UNIX
    void aFullDiskNeverLeavesHalfAFile() {
        Member member;
        member.cars.write("GT/b.tex", QByteArray(256 * 1024, 'b'));
        member.cars.write("z.tex", QByteArray(256 * 1024, 'z'));
        // A pack on another file system is copied by reading and writing, not by the kernel's copy.
        QTemporaryDir elsewhere("/dev/shm/tarvok-XXXXXX");
        std::filesystem::copy(member.cars.host() / "GT", fs::fromQt(elsewhere.filePath("GT")),
                              std::filesystem::copy_options::recursive);
        std::filesystem::remove_all(member.cars.host() / "GT");
        QVERIFY(QFile::link(elsewhere.filePath("GT"), member.cars.file("GT")));
        const std::optional<QByteArray> done = runInChild({64 * 1024, false}, [&member] {
            const Outcome swapped = member.run(kSwapToGT);
            const Outcome backedUp = member.run(kBackUp);
            return (swapped.changes + swapped.boxes + backedUp.changes + backedUp.boxes).join('\t').toUtf8();
        });
        // Only what fits arrives: a.tex, then the backup of what the failed swap left.
        QCOMPARE(QString::fromUtf8(done.value_or("child failed")).split('\t'),
                 (QStringList{"~ cars/a.tex", kFailed + "b.tex" + kIncomplete, "+ cars/original/",
                              "+ cars/original/a.tex", "+ cars/original/drivers.txt", kAsk, kFailed + "z.tex"}));
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
        member.site.files.insert("tarvver.txt", "1\nBare|1/1/2003");
        // In a child that ends within a minute: a command that blocks in open() or spins fails the test.
        const std::optional<QByteArray> done = runInChild({}, [&member] {
            const Outcome swapped = member.run([](StartedSession& s) { s.swap(0); }); // Bare is no pack now
            const Outcome backedUp = member.run(kBackUp);
            const Outcome checked = member.run([](StartedSession& s) { s.session.checkPacks(); });
            return (swapped.changes + backedUp.changes + checked.boxes).join('\t').toUtf8();
        });
        QCOMPARE(QString::fromUtf8(done.value_or("child failed")).split('\t'),
                 (QStringList{"+ cars/b.tex", "~ cars/a.tex", "~ cars/drivers.txt", "+ cars/original/",
                              "+ cars/original/a.tex", "+ cars/original/b.tex", "+ cars/original/drivers.txt",
                              "Packs In file | Bare:1/1/2003\r\n", "Pack Status | Bare is out of date\r\n"}));
    }

    void everyNameTheHostAllowsIsCopied() {
        Member member;
        const std::string longName = std::string(251, 'n') + ".tex";
        const fs::Path latin1 = member.cars.host() / "Caf\xE9";
        QVERIFY(fs::writeWhole(member.cars.host() / "GT" / longName, "long").ok() && fs::createFolder(latin1).ok() &&
                fs::writeWhole(latin1 / "\xE9t\xE9.tex", "summer").ok() &&
                fs::writeWhole(latin1 / "drivers.txt", CarFolder::driversTxt("Cafe", "2003")).ok());
        member.cars.addPack("..\\outside", "Inside", "2002", {"in.tex"});
        member.cars.addPack("../outside", "Outside", "2001", {"out.tex"});
        member.cars.addPack("my\\cars/GT", "GT", "d"); // a car folder whose own path holds a backslash
        QCOMPARE(StartedSession(member.cars.host() / "my\\cars", member.site).window.listed, QStringList{"GT .GT - d"});
        StartedSession started(member.cars.host(), member.site);
        QCOMPARE(started.window.listed,
                 (QStringList{"..\\outside .Inside - 2002", "Bare .......Bare Pack - 2020",
                              "Caf\uFFFD .......Cafe - 2003", "GT .........GT Cars - 12/04/2003"}));
        for (const int row : {3, 0, 2}) // GT, ..\outside, Caf\xE9
            started.swap(row);
        started.backUp();
        QCOMPARE(started.window.boxes, QStringList{kAsk});
        for (const fs::Path& folder : {member.cars.host(), member.cars.host() / "original"})
            QCOMPARE(fs::readHead(folder / longName, 9).value_or("") +
                         fs::readHead(folder / "\xE9t\xE9.tex", 9).value_or("") +
                         fs::readHead(folder / "in.tex", 99).value_or("") +
                         fs::readHead(folder / "out.tex", 9).value_or(""),
                     QByteArray("longsummer..\\outside/in.tex"));
        // QTemporaryDir cannot remove names that are not UTF-8.
        std::error_code ignored;
        std::filesystem::remove_all(member.cars.host().parent_path(), ignored);
    }
#endif

private:
    QTemporaryDir logs_; // outlives the open log, which Windows would not remove
};

QTEST_GUILESS_MAIN(CopiesTest)
#include "test_copies.moc"
