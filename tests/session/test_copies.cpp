#include "fs/FileSystem.h"
#include "fs/FolderLock.h"
#include "fs/Journal.h"
#include "session/LogFile.h"
#include "support/Archives.h"
#include "support/CarFolder.h"
#include "support/Process.h"
#include "support/Recorder.h"
#include "support/Texts.h"

#include <QtTest>

#include "support/FileCalls.h"

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

const QString kNotFound = "Oops... | Skinpack not found!";
const QString kUnchanged = "\r\n\r\nYour cars were not changed.";
const QString kBackupUnchanged = "\r\n\r\nThe folder \"original\" was not changed.";
// The box of a lock that cannot be taken, with why.
const QString kCannotLock =
    "Tarvok Car Manager | The car folder could not be locked, so nothing was changed:\r\n.tarvok.lock (%1)\r\n\r\nIf "
    "no other copy of Tarvok Car Manager is running, move \".tarvok.lock\" out of the car folder, or make the folder "
    "writable (you may need an administrator), then try again.";
const QString kInTheWay = "\"%1\" is in the way: Tarvok Car Manager copies through a folder of that name, but did "
                          "not make this one, so it leaves it as it is. Move it out of the car folder, then try again.";
const QString kSetAside = "Tarvok Car Manager | The folder \"CARS/.tarvok-work\" is damaged or holds what Tarvok Car "
                          "Manager did not put there, so nothing was taken from it: your cars were not changed. It is "
                          "now named \"tarvok-work-set-aside-1\" so that swaps and backups can run; you may delete it.";
const QStringList kFirstBackup{"+ cars/original/", "+ cars/original/a.tex", "+ cars/original/drivers.txt",
                               "+ cars/original/z.tex"};

// What a command did: the game folder's changes, the boxes it showed and the current set after it.
struct Outcome {
    QStringList changes;
    QStringList boxes;
    QString currentSet = "Classic 1998";
    bool operator==(const Outcome&) const = default;
};

char* toString(const Outcome& outcome) {
    return QTest::toString("changes: " + outcome.changes.join(", ") + "\nboxes: " + outcome.boxes.join("\n  ") +
                           "\ncurrent set: " + outcome.currentSet);
}

using Command = std::function<void(StartedSession&)>;

// A member who last raced the Classic set, with the packs Bare (no textures) and GT installed, and maybe
// an earlier backup.
struct Member {
    explicit Member(bool backedUp = false, const QString& parents = {}) : cars(parents) {
        cars.write("drivers.txt", CarFolder::driversTxt("Classic", "1998"));
        cars.write("a.tex", "old a");
        cars.write("z.tex", "old z");
        cars.addPack("Bare", "Bare Pack", "2020");
        cars.addPack("GT", "GT Cars", "12/04/2003", {"a.tex", "b.tex"});
        if (backedUp)
            cars.addPack("original", "Older", "1997", {"a.tex", "y.tex"});
        publish();
    }
    // The same member in a child process, on the car folder the test made.
    explicit Member(const CarFolder::Made& made) : cars(made) { publish(); }
    void publish() {
        site.files = {{"tarvver.txt", "1\r\nGT|12/04/2003\r\n"},
                      {"tarvmeet.txt", "1\r\n2026-12-13|Winter Cup|GT|Spa\r\n"}};
    }
    // The start's own boxes come first, after "Website Location".
    Outcome run(const Command& command) {
        const TreeSnapshot before = cars.snapshot();
        StartedSession started(cars.host(), site);
        command(started);
        return {cars.snapshot().changesSince(before), started.startBoxes.mid(1) + started.window.boxes,
                started.window.currentSet};
    }
    // What an archive can leave before a start: a working folder with a journal, links to a folder beside the car
    // folder where the program's own folders go, a pack under its working folder's name.
    void plant(const QString& change) const {
        const QString what = change.section(' ', 1);
        const QByteArray firstLine = "Tarvok Car Manager journal 1\n";
        cars.write("../game.exe", "the game");
        cars.write("../docs/letter.odt", "a letter");
        // Beside a lock that cannot be taken, a working folder without a journal is no placing that waits.
        if (change.startsWith("journal") || change.startsWith("link .tarvok-work/") || what == ".tarvok.lock")
            cars.makeOwn(".tarvok-work");
        if (change.startsWith("journal")) {
            cars.makeOwn(".tarvok-work/new", {{"b.tex", "staged b"}});
            cars.write(".tarvok-work/game.exe", "planted");
            cars.write(".tarvok-work/journal",
                       what == "without its first line" ? QByteArray("a.tex\0", 6)
                       : what == "over the bound"
                           ? firstLine + QByteArray("a.tex\0", 6).repeated(2'000'000)
                           : firstLine + (what == "/" ? cars.file("../game.exe") : what).toUtf8() + '\0');
        }
        if (what == "b.tex" || what == ".tarvok.lock") // a folder where the file named must go
            cars.write(what + "/in the way", "");
        if (change.startsWith("link"))
            QFile::link(cars.file("../docs"), cars.file(what));
        if (change.startsWith("pack"))
            cars.addPack(what, "Mine", "2001", {"a.tex"});
        for (int texture = 0; what == "Many" && texture < fs::kMaxSetFiles; ++texture)
            cars.write(QString("Many/%1.tex").arg(texture), "t");
        if (change == "file original")
            cars.write("original", "a file of the member's");
        if (change.startsWith("empty"))
            for (const QString& empty : what.section(" then", 0, 0).split(' '))
                cars.write(empty, "");
#ifdef Q_OS_UNIX
        const QString linked = cars.file(what.section(' ', 0, 0));
        if (change.startsWith("outlink") || change.startsWith("inlink")) { // one within is relative, as unpacked
            QFile::remove(linked);
            QFile::link(change.startsWith("inlink") ? "keep/a.tex" : cars.file("../docs/letter.odt"), linked);
        }
        if (change.startsWith("inlink"))
            cars.write("keep/a.tex", "kept a");
#endif
        // A copy of a car folder carries the program's marks into folders of the member's: a mark made elsewhere.
        if (change.startsWith("copied")) {
            cars.makeOwn("../elsewhere", {{"a.tex", "a"}});
            for (const QString& folder : what.split(", ")) {
                cars.addPack(folder, "Mine", "2001", {"mine.tex"});
                QFile::copy(cars.file("../elsewhere/.tarvok-made"), cars.file(folder + "/.tarvok-made"));
            }
            if (what == ".tarvok-work") { // and a journal as the program writes them
                QFile::remove(cars.file(".tarvok-work/mine.tex"));
                cars.write(".tarvok-work/journal", firstLine + "a.tex" + '\0');
                cars.write(".tarvok-work/new/a.tex", "planted");
            }
        }
    }
    // Where the file calls of the program land, as the host names it.
    QByteArray root(const QString& below = {}) const {
        return (QFileInfo(cars.path()).canonicalFilePath() + below).toUtf8();
    }

    CarFolder cars;
    CannedSite site;
};

const Command kSwapToGT = [](StartedSession& s) { s.swap(1); };
const Command kBackUp = [](StartedSession& s) { s.backUp(); };

#if defined(Q_OS_LINUX) || defined(Q_OS_WIN)
// The command a row of the crash-point table names, each box it asks answered Yes.
void runNamed(const QString& name, StartedSession& s) {
    s.window.answers = {true};
    if (name == "check packs")
        s.session.checkPacks();
    else if (name == "offered swap")
        s.session.checkMeeting();
    else if (name == "install")
        s.session.installArchives({fs::displayName(s.carFolder / "../GT.zip")});
    else if (name.endsWith("backup"))
        s.backUp();
    else
        s.swap(name == "toggle" ? 3 : 1);
}

// In a child: the named command on the car folder, ended as kill -9 ends it at the given file call below the folder.
QByteArray killedAtCall(const QStringList& nameFolderCall) {
    Member member(CarFolder::Made{nameFolderCall.value(1)});
    StartedSession started(member.cars.host(), member.site);
    file_calls_arm(member.root(), FILE_CALLS_ALL, nameFolderCall.value(2).toLong(), FILE_CALLS_KILL);
    runNamed(nameFolderCall.value(0), started);
    return {};
}
#endif

#ifdef Q_OS_UNIX
// In a child, over the odd files: a swap to each pack in turn, a backup and a pack check; the list and boxes, joined
// by tabs.
QByteArray commandsOverOddFiles(const QStringList& folder) {
    Member member(CarFolder::Made{folder.value(0)});
    member.site.files.insert("tarvver.txt", "1\nBare|1/1/2003");
    StartedSession started(member.cars.host(), member.site);
    for (const int row : {1, 0, 2}) // GT, +..\outside, Locked; Bare is no pack now
        started.swap(row);
    started.backUp();
    started.session.checkPacks();
    return (started.window.listed + started.window.boxes).join('\t').toUtf8();
}
#endif

} // namespace

Q_DECLARE_METATYPE(Outcome)

class CopiesTest : public QObject {
    Q_OBJECT

private slots:
    void swap_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("change"); // to the car folder after start-up
        QTest::addColumn<Outcome>("outcome");
        // The first swap keeps the cars whole as "original", and what it replaced as "previous"; the rows after
        // start-up are Bare, GT, original and previous.
        const QStringList gtCars{"+ cars/b.tex", "~ cars/a.tex", "~ cars/drivers.txt"};
        // What a swap to Bare, which has no textures, keeps in "previous"; one to GT keeps a.tex there too.
        const QStringList bareKept{"+ cars/previous/", "+ cars/previous/.tarvok-made", "+ cars/previous/drivers.txt"};
        const QStringList previous = bareKept + QStringList{"+ cars/previous/a.tex"};
        const QString gtSet = "GT Cars 12/04/2003";
        const auto renamed = [&](const QStringList& kept, const QString& to) {
            return QStringList(kept).replaceInStrings("previous", to);
        };
        const Outcome toGT{gtCars + kFirstBackup + previous, {}, gtSet};
        const auto toBare = [&](const QStringList& more) {
            return Outcome{gtCars + kFirstBackup + bareKept + more, {}, "Bare Pack 2020"};
        };
        const auto keptIn = [&](const QString& folder) {
            return Outcome{gtCars + kFirstBackup + renamed(previous, folder), {}, gtSet};
        };
        const Outcome classicAgain{kFirstBackup + previous + QStringList{"+ cars/b.tex"}, {}};
        const auto row = [](const char* tag, int row, const char* change, const Outcome& outcome) {
            QTest::newRow(tag) << row << QString(change) << outcome;
        };
        row("the pack's files replace the active ones, which are kept", 1, "", toGT);
        // An empty texture of the pack's is the active one already, and nothing replaces it, then or after.
        row("an empty texture, and the active pack again", 1, "empty e.tex GT/e.tex then 1",
            {toGT.changes + QStringList{"+ cars/original/e.tex"}, {}, gtSet});
        // An empty file kept is the program's as any other: the next swap replaces the set.
        row("an empty texture kept, then a second swap", 1, "empty a.tex then 0", toBare({}));
        row("\"previous\" swapped in", 1, "then 3", classicAgain);
        row("an odd entry in \"previous\"", 1, "odd then 0", toBare({"+ cars/previous/odd.tex/"}));
        row("a file of the member's in \"previous\"", 1, "mine then 0",
            toBare(QStringList{"+ cars/previous/a.tex", "+ cars/previous/mine.tex"} + renamed(bareKept, "previous 2")));
        row("no cars to keep", 1, "remove a.tex z.tex drivers.txt",
            {{"+ cars/b.tex", "- cars/z.tex", "~ cars/a.tex", "~ cars/drivers.txt"}, {}, gtSet});
        row("a pack of the member's named \"previous\"", 1, "pack previous", keptIn("previous 2"));
        // The backup that goes first writes nothing there, and the swap then keeps no "original" either.
        const QString aFile =
            "Oops... | \"CARS/original\" is a file, not a folder: Tarvok Car Manager backs up only into a "
            "folder \"original\" inside the car folder, so it wrote nothing. Move the file out of the "
            "car folder, then try again.";
        const auto notBackedUp = [&](const QString& box) {
            return Outcome{gtCars + previous, {kAsk, box + kBackupUnchanged}, gtSet};
        };
        row("a file named \"original\" in the way", 1, "file original", notBackedUp(aFile));
        row("nothing selected", -1, "", {{}, {"Doh! | Please choose a skinpack first"}});
        row("a pack past the bound", 2, "pack Many",
            {{},
             {"Oops... | The set to copy has 10002 files, more than the 10000 that Tarvok Car Manager copies at once, "
              "so it copied none of them." +
              kUnchanged}});
        row("a position past the list", 2, "", {{}, {kNotFound}});
        row("the pack removed", 1, "remove GT",
            {{"- cars/GT/", "- cars/GT/a.tex", "- cars/GT/b.tex", "- cars/GT/drivers.txt"}, {kNotFound}});
        row("the pack lost its drivers.txt", 1, "remove GT/drivers.txt",
            {{"- cars/GT/drivers.txt"}, {kFailed + "drivers.txt" + kUnchanged}});
        // Another copy of the program, on the same folder, swaps while this one copies.
        row("a second manager meanwhile", 1, "second manager", {toGT.changes, {kBusy}, gtSet});
        row("a folder named .tarvok.lock", 1, "folder .tarvok.lock",
            {{}, {kCannotLock.arg("a folder of that name is in the way")}});
        row("a folder where a texture must go", 1, "folder b.tex",
            {{}, {kFailed + "b.tex (a folder of that name is in the way)" + kUnchanged}});
        // Planted before the start, nothing outside the car folder changes, nor any file of the member's in it.
        const auto setAside = [&](const QStringList& names) {
            QStringList moved = toGT.changes;
            for (const QString& name : names)
                moved << "- cars/.tarvok-work/" + name << "+ cars/tarvok-work-set-aside-1/" + name;
            return Outcome{moved, {kSetAside}, gtSet};
        };
        for (const char* entry :
             {"../game.exe", "../../a.tex", "/", "..\\game.exe", ".", "", "without its first line", "over the bound"})
            QTest::addRow("a journal naming \"%s\"", entry)
                << 1 << QString("journal ") + entry
                << setAside({"", ".tarvok-made", "game.exe", "journal", "new/", "new/.tarvok-made", "new/b.tex"});
        row("a journal it cannot finish", 1, "journal b.tex",
            {{},
             {"Tarvok Car Manager | The last swap of car sets was cut short while it was putting the new "
              "cars in place, and could not be finished now. These files could not be put in place:\r\nb.tex "
              "(a folder of that name is in the way)\r\n\r\nUntil they are, the folder holds some new files "
              "and some old: once they can be replaced, start Tarvok Car Manager again to finish it.",
              "Oops... | A swap or backup that was cut short could not be finished yet, so nothing new can be copied "
              "until it is. Close the game if it is running, then start Tarvok Car Manager again to finish it." +
                  kUnchanged}});
        // A mark that a copy carried makes nothing the program's: the member's files stay, each byte of them.
        row("copied marks in \"previous\" and \"previous 2\"", 1, "copied previous, previous 2", keptIn("previous 3"));
        row("a pack \"previous\" with a copied mark, swapped in", 2, "copied previous",
            {kFirstBackup + renamed(bareKept, "previous 2") + QStringList{"+ cars/mine.tex", "~ cars/drivers.txt"},
             {},
             "Mine 2001"});
        // The backup that goes first finds the member's folder where its own goes; the swap keeps no "original" then.
        row("a copied mark in \".tarvok-original\"", 1, "copied .tarvok-original",
            {toGT.changes, {kAsk, "Oops... | " + kInTheWay.arg("CARS/.tarvok-original") + kBackupUnchanged}, gtSet});
        row("a copied working folder with a journal", 1, "copied .tarvok-work",
            setAside({"", ".tarvok-made", "drivers.txt", "journal", "new/", "new/a.tex"}));
        row("a pack named as the working folder", 1, "pack .tarvok-work",
            {{}, {"Oops... | " + kInTheWay.arg("CARS/.tarvok-work") + kUnchanged}});
#ifdef Q_OS_UNIX
        for (const char* part : {"new", "old"})
            QTest::addRow("its %s folder a link", part)
                << 1 << QString("link .tarvok-work/") + part << setAside({"", ".tarvok-made", part});
        const QString outside = " (is a link to a place outside the car folder)";
        row("GT/b.tex a link out of the car folder", 1, "outlink GT/b.tex",
            {{}, {kFailed + "GT/b.tex" + outside + kUnchanged}});
        row("z.tex a link out of the car folder, backed up, then swapped", 1, "outlink z.tex original",
            {{}, {kAsk, kFailed + "z.tex" + outside + kBackupUnchanged, kFailed + "z.tex" + outside + kUnchanged}});
        row("a texture a link within the car folder, swapped back", 1, "inlink a.tex then 3", classicAgain);
        row("\"original\" a link", 1, "link original",
            notBackedUp(
                QString(aFile).replace("a file, not a folder", "a link to another place").replace("file", "link")));
#endif
    }

    void swap() {
        QFETCH(int, row);
        QFETCH(QString, change);
        QFETCH(Outcome, outcome);
        outcome.changes.sort();
        Member member;
        member.plant(change);
        const Outcome done = member.run([&](StartedSession& s) {
            if (change.startsWith(QLatin1String("remove")))
                for (const QString& name : change.section(' ', 1).split(' '))
                    QFile::remove(member.cars.file(name)) || QDir(member.cars.file(name)).removeRecursively();
            if (change == "second manager")
                s.window.whileCopying = [&] {
                    StartedSession other(member.cars.host(), member.site);
                    other.swap(1);
                    s.window.boxes += other.window.boxes; // this one shows none of its own
                };
            if (change.endsWith("original"))
                s.backUp();
            s.swap(row == -1 ? std::nullopt : std::optional(row));
            // What the member puts in the set the program kept: odd entries stay in it, a file makes it theirs.
            if (change.startsWith("odd"))
                QDir().mkpath(member.cars.file("previous/odd.tex"));
            if (change.startsWith("mine"))
                member.cars.write("previous/mine.tex", "mine");
            for (const QString& next : change.section("then ", 1).split(' ', Qt::SkipEmptyParts))
                s.swap(next.toInt());
        });
        outcome.boxes.replaceInStrings("CARS/", QDir::toNativeSeparators(member.cars.path() + "/"));
        // Files of a kept set are named as the host writes a path.
        outcome.boxes.replaceInStrings("original/", QDir::toNativeSeparators("original/"));
        QCOMPARE(done, outcome);
    }

    void backup() {
        Member member;
        session::startLogFile(logs_.filePath("backup"));
        QCOMPARE(member.run([](StartedSession& s) { s.backUp(false); }), (Outcome{{}, {kAsk}}));
        QCOMPARE(member.run(kBackUp), (Outcome{kFirstBackup, {kAsk}}));
        // After a swap the backup replaces what the new set shares and keeps the rest.
        member.run(kSwapToGT);
        const QStringList replaced{"+ cars/original/b.tex", "~ cars/original/a.tex", "~ cars/original/drivers.txt"};
        QCOMPARE(member.run(kBackUp), (Outcome{replaced, {kAsk}, "GT Cars 12/04/2003"}));
        // The log keeps each answer.
        QCOMPARE(loggedIn(logs_.filePath("backup")).count("box: Wait a Minute! answered No"), 1);
    }

    void leftoversOfAnEarlierRunAreRemoved() {
        Member member(true);
        member.cars.write(".tarvok-a0c123.part", "half a texture");
        member.cars.write("original/.tarvok-xyz789.part", "half a texture");
        member.cars.makeOwn(".tarvok-work");
        member.cars.makeOwn(".tarvok-work/new", {{"drivers.txt", CarFolder::driversTxt("Half", "2003")}});
        for (const char* notOurs : {".tarvok-works.part", ".tarvok-A0C123.part", "livery-of-car01.tex"})
            member.cars.write(notOurs, "not ours");
        member.cars.write("Empty/drivers.txt", "");
        member.cars.makeFolder("Folder/drivers.txt");
        member.cars.addPack("Longest1", "  Slash", "d  ");
        std::optional<fs::FolderLock> other(member.cars.host());
        // While another copy of the program holds the folder, its working folder is no pack, and stays. The fill
        // puts every description in one column; only ends that meet no fill lose their spaces.
        const TreeSnapshot before = member.cars.snapshot();
        QCOMPARE(StartedSession(member.cars.host(), member.site).window.listed,
                 (QStringList{"Bare .....Bare Pack - 2020", "Empty ....Unknown Skinpack - 01/01/1900",
                              "GT .......GT Cars - 12/04/2003", "Longest1 .Slash - d", "original .Older - 1997"}));
        QCOMPARE(member.cars.snapshot(), before);
        other.reset();
        member.cars.write(".tarvok.lock", ""); // as a copy killed while it took the folder leaves it
        QCOMPARE(
            StartedSession(member.cars.host(), member.site).startBoxes.value(1),
            "Tarvok Car Manager | The last swap of car sets was cut short before it had changed any of your cars. The "
            "files it had copied so far have been removed: your cars are as they were before that swap.");
        QCOMPARE(member.cars.snapshot().changesSince(before),
                 (QStringList{"- cars/.tarvok-a0c123.part", "- cars/.tarvok-work/", "- cars/.tarvok-work/.tarvok-made",
                              "- cars/.tarvok-work/new/", "- cars/.tarvok-work/new/.tarvok-made",
                              "- cars/.tarvok-work/new/drivers.txt", "- cars/.tarvok.lock",
                              "- cars/original/.tarvok-xyz789.part"}));
    }

#if defined(Q_OS_LINUX) || defined(Q_OS_WIN)
    // At each file call of a swap, a backup or a check in turn, a kill -9 (and the next start), a move that fails,
    // or the member's Cancel leaves the folder as it was or as the whole command makes it, and nothing else.
    void cutShortAtEachFileCall_data() {
        // Of the command; "backup" is over an earlier one, and "second swap" finds "original" and "previous".
        QTest::addColumn<QString>("name");
        // The moves that fail: one, that one and the next (the first of the undo), or all from then on.
        QTest::addColumn<int>("action");
        // Each cut by its action, in the actions' order.
        const char* cuts[] = {"kill", "failed move", "cancel", "failed moves", "failed move and undo", "full disk"};
        for (int action = FILE_CALLS_KILL; action <= FILE_CALLS_FULL; ++action)
            for (const char* name : {"swap", "second swap", "first backup", "backup", "install"})
                QTest::addRow("%s, %s", name, cuts[action - FILE_CALLS_KILL]) << name << action;
        // The swap the meeting check offers is the swap button's; "toggle" swaps "previous" back in.
        for (const char* name : {"check packs", "offered swap", "toggle"})
            QTest::addRow("%s, kill", name) << name << int(FILE_CALLS_KILL);
    }

    void cutShortAtEachFileCall() {
        QFETCH(QString, name);
        QFETCH(int, action);
        // Where the copies are written, before they are put in place; a first swap's Cancel comes as it keeps the cars
        // as they were.
        const QString staging = (name == "swap"          ? "/.tarvok-work/whole"
                                 : name == "second swap" ? "/.tarvok-work/new"
                                 : name == "backup"      ? "/original/.tarvok-work/new"
                                 : name == "install"     ? "/.tarvok-install"
                                                         : "/.tarvok-original/.tarvok-work/new");
        const bool kill = action == FILE_CALLS_KILL, cancel = action == FILE_CALLS_HOLD,
                   full = action == FILE_CALLS_FULL;
        const bool failMoves = !kill && !cancel && !full;
        // The lists a meeting check stores come with every check, and are no part of the cars.
        const auto carsOf = [&name](const Member& m) {
            for (const char* list : {"tarvmeet.txt", "tarvver.txt"})
                QFile::remove(name == "offered swap" ? m.cars.file(list) : QString());
            return m.cars.snapshot();
        };
        const bool backedUp = name == "backup" || name == "second swap" || name == "toggle";
        const auto prepare = [&name](const Member& m) {
            if (name == "second swap" || name == "toggle") // the set an earlier swap kept
                m.cars.makeOwn("previous", {{"y.tex", "y"}, {"drivers.txt", CarFolder::driversTxt("Older", "1996")}});
            // A new release of GT, to replace the one installed, and a pack new here, placed after it; their textures
            // may hold any bytes.
            if (name == "install")
                m.cars.write("../GT.zip",
                             archiveOf("zip", "", "",
                                       {"f:GT/drivers.txt", "f:GT/a.tex", "f:GT/c.tex", "f:Rally/drivers.txt"},
                                       [](const QString&) { return CarFolder::driversTxt("GT Cars", "2026"); }));
        };
        Member alone(backedUp);
        prepare(alone);
        const TreeSnapshot before = alone.cars.snapshot();
        file_calls_arm(alone.root(), FILE_CALLS_ALL, 0, FILE_CALLS_FAIL); // counts the calls, failing none
        const Outcome whole = alone.run([&name](StartedSession& s) { runNamed(name, s); });
        file_calls_disarm();
        // Where each killed child is the test executable started afresh (half a second under Wine), at most 16
        // kills come, spread evenly over the command's calls.
        const long step = kill && QSysInfo::kernelType() == "winnt" ? (file_calls_counted() + 15) / 16 : 1;
        const TreeSnapshot after = carsOf(alone);
        QMap<QString, int> ended;
        // A Cancel counts from the fourth call: the first three make the folder the files go to and its mark, which
        // may come before the copies start. The first takes the lock, whose box gives the host's reason as it is.
        for (long call = cancel ? 4 : full ? 2 : 1;; call += step) {
            Member member(backedUp);
            prepare(member);
            Outcome done;
            if (kill) {
                const ChildEnd end = runInChild(killedAtCall, {name, member.cars.path(), QString::number(call)});
                QVERIFY(end.killed || end.output);
                if (!end.killed)
                    break;
            } else {
                QTimer cancelWhenHeld;
                done = member.run([&](StartedSession& s) {
                    QObject::connect(&cancelWhenHeld, &QTimer::timeout, [&] {
                        if (file_calls_holding() && s.window.cancelCopies) {
                            s.window.cancelCopies();
                            file_calls_release();
                        }
                    });
                    cancelWhenHeld.start(1);
                    file_calls_arm(member.root(failMoves || full ? QString() : staging),
                                   failMoves ? FILE_CALLS_RENAMES : FILE_CALLS_ALL, call, action);
                    runNamed(name, s);
                    file_calls_disarm();
                });
                if (file_calls_counted() < call)
                    break;
            }
            // What was cut short, or could not be put back, is cleared up or finished at the next start.
            done.boxes += StartedSession(member.cars.host(), member.site).startBoxes.mid(1);
            const TreeSnapshot now = carsOf(member);
            const QString state = now == before ? "as before" : now == after ? "as the command makes them" : "mixed";
            ++ended[state];
            QVERIFY2(state != "mixed", qPrintable(QString::number(call) + ": " + now.changesSince(before).join(", ")));
            if (kill) {
                // The start tells what it found, and it is what the folder holds.
                const QString told = done.boxes.value(0);
                QVERIFY2(told.isEmpty() || told.contains(state == "as before" ? "removed" : "finished"),
                         qPrintable(told));
                if (!told.isEmpty())
                    ++ended[state + ", and told so"];
            } else if (full) {
                // Whatever call meets the full disk, the journal's and the marks' among them, the member is told so.
                const QString told = done.boxes.join('\n');
                QVERIFY2(state == "as before" ? told.contains("no room left on the disk")
                                              : !told.contains("not changed"),
                         qPrintable(QString::number(call) + ": " + told));
            } else if (failMoves) {
                QCOMPARE(state, action == FILE_CALLS_FAIL ? "as before" : state);
                QVERIFY2(done.boxes.join('\n').contains("could not be put in place"),
                         qPrintable(done.boxes.join('\n')));
            } else if (state != "as before") {
                // Once the files are being put in place a Cancel comes too late, and the command runs to its end.
                QCOMPARE(done, whole);
                break;
            } else {
                QCOMPARE(done.boxes, name.endsWith("swap") || name == "install" ? QStringList() : QStringList{kAsk});
            }
        }
        QVERIFY(ended.value("as before") + ended.value("as the command makes them") > 3);
        // A first backup is never finished at the next start: until it is whole it has no name. A list is cleared
        // up without a word.
        if (kill && name != "check packs")
            QVERIFY(ended.value("as before, and told so") > 0 &&
                    (ended.value("as the command makes them, and told so") > 0 || name == "first backup"));
    }
#endif

#ifdef Q_OS_UNIX
    // A FIFO, or a link to one or to a device, is a missing file and never blocks; every name the host allows is
    // copied as it is, however long and whatever its bytes; nothing outside the car folder is read.
    void oddFilesAndNames() {
        Member member(true);
        const fs::Path cars = member.cars.host();
        // A pack's texture a link to a device (read, it never ends), a pack's drivers.txt a FIFO the member may open,
        // an active texture a link to that FIFO.
        QVERIFY(::symlink("/dev/zero", (cars / "GT/odd.tex").c_str()) == 0 && ::unlink((cars / "z.tex").c_str()) == 0 &&
                ::unlink((cars / "Bare/drivers.txt").c_str()) == 0 &&
                ::mkfifo((cars / "Bare/drivers.txt").c_str(), 0644) == 0 &&
                ::symlink("Bare/drivers.txt", (cars / "z.tex").c_str()) == 0);
        const std::string longName = std::string(251, 'n') + ".tex";
        QVERIFY(fs::writeWhole(cars / "GT" / longName, "long").ok() &&
                ::chmod((cars / "GT" / longName).c_str(), 0604) == 0);     // each copy keeps its permissions
        member.cars.addPack("+..\\outside", "Inside", "2002", {"in.tex"}); // hidden, a name with a dot first would be
        member.cars.addPack("../outside", "Outside", "2001", {"out.tex"});
        member.cars.addPack("Locked", "Locked", "2004", {"locked.tex"});
        // As a member who may change the car folder, but not read the texture of Locked.
        for (const QString& open : {member.cars.file(".."), member.cars.path(), member.cars.file("original")})
            QFile::setPermissions(open, QFileDevice::Permissions(0x7777));
        // An active texture the member may not read is no proof that the pack's, of its size, is there already.
        member.cars.write("GT/a.tex", "new a");
        for (const char* unreadable : {"Locked/locked.tex", "a.tex"})
            QFile::setPermissions(member.cars.file(unreadable), {});
        // In an unprivileged child that ends within a minute: a command that blocks in open() or spins fails the test.
        const ChildEnd end = runInChild(commandsOverOddFiles, {member.cars.path()}, true);
        QCOMPARE(QString::fromUtf8(end.output.value_or("child failed")).split('\t'),
                 (QStringList{"+..\\outside .Inside - 2002", "GT ..........GT Cars - 12/04/2003",
                              "Locked ......Locked - 2004", "original ....Inside - 2002",
                              "previous ....GT Cars - 12/04/2003", kFailed + "locked.tex" + kUnchanged, kAsk,
                              "Packs In file | Bare:1/1/2003\r\n", "Pack Status | Bare is out of date\r\n"}));
        const auto head = [](const fs::Path& file) { return fs::readHead(file, 99).value_or(""); };
        struct stat copied {};
        for (const fs::Path& folder : {cars, cars / "original"})
            QCOMPARE(
                head(folder / longName) + head(folder / "in.tex") + head(folder / "out.tex") + head(folder / "b.tex") +
                    head(folder / "z.tex") + head(folder / "a.tex") +
                    QByteArray::number(::stat((folder / longName).c_str(), &copied) ? 0 : copied.st_mode & 0777, 8),
                QByteArray("long+..\\outside/in.texGT/b.texnew a604"));
    }
#endif

#ifdef Q_OS_WIN
    // The game keeps its textures open for reading, and lets nobody move them meanwhile; a member may mark one
    // read-only. Either stops the whole swap, and nothing changes; here in a car folder whose paths pass 260
    // characters, and which the host's own separators spell as well.
    void aTextureHeldOpenOrReadOnlyStopsTheWholeSwap() {
        Member member(false, QString(70, 'd') + '/' + QString(70, 'e') + '/' + QString(70, 'p'));
        const std::wstring a = L"\\\\?\\" + QDir::toNativeSeparators(member.cars.file("a.tex")).toStdWString();
        const HANDLE held = ::CreateFileW(a.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        const Outcome whileHeld = member.run(kSwapToGT), backedUp = member.run(kBackUp); // reading it is shared
        ::CloseHandle(held);
        QVERIFY(::SetFileAttributesW(a.c_str(), FILE_ATTRIBUTE_READONLY));
        const Outcome readOnly = member.run(kSwapToGT);
        ::SetFileAttributesW(a.c_str(), FILE_ATTRIBUTE_NORMAL);
        QCOMPARE(whileHeld, (Outcome{{},
                                     {kFailed + "a.tex (in use by another program)\r\n\r\nThe game may be running: "
                                                "close it and try again.\r\nYour cars were not changed."}}));
        QCOMPARE(backedUp.changes, kFirstBackup);
        QCOMPARE(readOnly, (Outcome{{}, {kFailed + "a.tex (marked read-only)" + kUnchanged}}));
        StartedSession native(fs::fromQt(QDir::toNativeSeparators(member.cars.path())), member.site);
        native.swap(1);
        QCOMPARE(native.window.currentSet, "GT Cars 12/04/2003");
    }
#endif

private:
    LogFolder logs_;
};

QTEST_GUILESS_MAIN(CopiesTest)
#include "test_copies.moc"
