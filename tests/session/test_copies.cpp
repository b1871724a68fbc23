#include "fs/FileSystem.h"
#include "support/CarFolder.h"
#include "support/Process.h"
#include "support/Recorder.h"
#include "support/Texts.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <future>
#include <thread>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>

using namespace carsets;
using namespace league;
using namespace meeting;
using namespace session;
#endif

namespace {

const QString kNotFound = "Oops... | Skinpack not found!";

// A member who last raced the Classic set, with the packs Bare (no textures) and GT installed.
struct Member {
    Member() {
        cars.write("drivers.txt", CarFolder::driversTxt("Classic", "1998"));
        cars.write("a.tex", "old a");
        cars.write("z.tex", "old z");
        cars.addPack("Bare", "Bare Pack", "2020");
        cars.addPack("GT", "GT Cars", "12/04/2003", {"a.tex", "b.tex"});
    }
    // What a command did on a started session: the game folder's changes, the boxes, the current set.
    QStringList run(const std::function<void(StartedSession&)>& command) {
        StartedSession started(cars.host(), site);
        const TreeSnapshot before = cars.snapshot();
        command(started);
        return cars.snapshot().changesSince(before) + started.window.boxes << started.window.currentSet;
    }
    QStringList swap(int row) {
        return run([row](StartedSession& s) { s.swap(row == -1 ? std::nullopt : std::optional(row)); });
    }
    QStringList backUp() {
        return run([](StartedSession& s) { s.backUp(); });
    }

    CarFolder cars;
    CannedSite site;
};

} // namespace

class CopiesTest : public QObject {
    Q_OBJECT

private slots:
    void swap_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("change"); // to the car folder after start-up
        QTest::addColumn<QStringList>("done");
        QTest::newRow("the pack's files replace the active ones")
            << 1 << "" << QStringList{"+ cars/b.tex", "~ cars/a.tex", "~ cars/drivers.txt", "GT Cars 12/04/2003"};
        QTest::newRow("nothing selected")
            << -1 << "" << QStringList{"Doh! | Please choose a skinpack first", "Classic 1998"};
        QTest::newRow("a position past the list") << 5 << "" << QStringList{kNotFound, "Classic 1998"};
        QTest::newRow("a position before the list") << -2 << "" << QStringList{kNotFound, "Classic 1998"};
        QTest::newRow("the pack removed") << 1 << "remove GT" << QStringList{"- cars/GT/", kNotFound, "Classic 1998"};
        QTest::newRow("the pack lost its drivers.txt")
            << 1 << "remove GT/drivers.txt"
            << QStringList{"+ cars/b.tex", "~ cars/a.tex", kFailed + "drivers.txt", "Classic 1998"};
        QTest::newRow("a texture cannot be written")
            << 1 << "folder b.tex"
            << QStringList{"+ cars/b.tex/", "~ cars/a.tex", kFailed + "b.tex" + kIncomplete, "Classic 1998"};
    }

    void swap() {
        QFETCH(int, row);
        QFETCH(QString, change);
        Member member;
        const QString path = member.cars.file(change.section(' ', 1));
        QStringList done = member.run([&](StartedSession& s) {
            if (change.startsWith(QLatin1String("remove")))
                QFile::remove(path) || QDir(path).removeRecursively();
            if (change.startsWith(QLatin1String("folder")))
                QDir().mkpath(path);
            s.swap(row == -1 ? std::nullopt : std::optional(row));
        });
        QTEST(done.filter(QRegularExpression("^(?![+-] cars/GT/.)")), "done");
    }

    void backup() {
        Member member;
        QCOMPARE(member.run([](StartedSession& s) { s.backUp(false); }), (QStringList{kAsk, "Classic 1998"}));
        QCOMPARE(member.backUp(),
                 (QStringList{"+ cars/original/", "+ cars/original/a.tex", "+ cars/original/drivers.txt",
                              "+ cars/original/z.tex", kAsk, "Classic 1998"}));
        // After a swap the backup replaces what the new set shares and keeps the rest.
        member.swap(1);
        QCOMPARE(member.backUp(), (QStringList{"+ cars/original/b.tex", "~ cars/original/a.tex",
                                               "~ cars/original/drivers.txt", kAsk, "GT Cars 12/04/2003"}));
        QFile::remove(member.cars.file("drivers.txt"));
        QVERIFY(QDir(member.cars.file("original")).removeRecursively());
        member.cars.write("original", "a file in the way");
        QCOMPARE(member.backUp(), (QStringList{kAsk, kFailed + "a.tex\r\nb.tex\r\nz.tex", "Error"}));
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
            const QStringList swapped = member.swap(1);
            return (swapped + member.backUp()).join('\t').toUtf8();
        });
        // Only what fits arrives: a.tex, then the backup of what the failed swap left.
        QCOMPARE(QString::fromUtf8(done.value_or("child failed")).split('\t'),
                 (QStringList{"~ cars/a.tex", kFailed + "b.tex" + kIncomplete, "Classic 1998", "+ cars/original/",
                              "+ cars/original/a.tex", "+ cars/original/drivers.txt", kAsk, kFailed + "z.tex",
                              "Classic 1998"}));
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
        member.site.files.insert("tarvver.txt", "1\nBare|1/1/2003");
        std::packaged_task<QStringList()> commands([&member] {
            QStringList done = member.swap(0); // Bare is no pack now
            done += member.backUp();
            return done + member.run([](StartedSession& s) { s.session.checkPacks(); });
        });
        std::future<QStringList> done = commands.get_future();
        std::thread(std::move(commands)).detach();
        QVERIFY(done.wait_for(std::chrono::seconds(20)) == std::future_status::ready);
        QCOMPARE(done.get(), (QStringList{"+ cars/b.tex", "~ cars/a.tex", "~ cars/drivers.txt", "GT Cars 12/04/2003",
                                          "+ cars/original/", "+ cars/original/a.tex", "+ cars/original/b.tex",
                                          "+ cars/original/drivers.txt", kAsk, "GT Cars 12/04/2003",
                                          "+ cars/tarvver.txt", "Packs In file | Bare:1/1/2003\r\n",
                                          "Pack Status | Bare is out of date\r\n", "GT Cars 12/04/2003"}));
    }

    void everyNameTheHostAllowsIsCopied() {
        Member member;
        const std::string longName = std::string(251, 'n') + ".tex";
        const fs::Path latin1 = member.cars.host() / "Caf\xE9";
        QVERIFY(fs::writeWhole(member.cars.host() / "GT" / longName, "long") && fs::createFolder(latin1) &&
                fs::writeWhole(latin1 / "\xE9t\xE9.tex", "summer") &&
                fs::writeWhole(latin1 / "drivers.txt", CarFolder::driversTxt("Cafe", "2003")));
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
};

QTEST_GUILESS_MAIN(CopiesTest)
#include "test_copies.moc"
