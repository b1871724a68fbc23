#include "support/Archives.h"
#include "support/CarFolder.h"
#include "support/Recorder.h"

#include <QtTest>

namespace {

const QString kTitle = "Install Skinpack | ";
const QString kNothing = kTitle + "Nothing was installed from \"%1\": ";
const QString kReplace =
    "(offer) " + kTitle +
    "The skinpack \"GT\" is installed already: GT Cars - 12/04/2003.\r\n\"GT.zip\" holds GT Cars - "
    "01/05/2026.\r\n\r\nReplace the installed skinpack with the one in \"GT.zip\"? None of the "
    "installed one's files will be kept.";
const QString kInTheWay =
    "\"New\" in the car folder %1, so the skinpack of that name cannot go there. Move it out of the car folder, then "
    "try again.";
const QStringList kGT{"f:GT/drivers.txt", "f:GT/a.tex", "f:GT/b.tex"};
const QStringList kNewPack{"+ cars/New/", "+ cars/New/drivers.txt"};

// What a file of an archive holds: a pack's drivers.txt the release of 01/05/2026 named for its folder ("Top" at the
// archive's top), a texture its own path, as a pack installed by the test holds it.
QByteArray contentsOf(const QString& name) {
    if (!name.endsWith("drivers.txt"))
        return name.toUtf8();
    return CarFolder::driversTxt(("Top/" + name).section('/', -2, -2) + " Cars", "01/05/2026");
}

} // namespace

class InstallTest : public QObject {
    Q_OBJECT

private slots:
    void installs_data() {
        QTest::addColumn<QString>("archive"); // its name tells its kind
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("plant"); // in the car folder before the start
        QTest::addColumn<QList<bool>>("answers");
        // What the install did: the game folder's changes, the boxes it showed, then the pack selected in the list.
        QTest::addColumn<QStringList>("outcome");
        const auto row = [](const char* tag, const QString& archive, const QStringList& entries, const QString& plant,
                            const QList<bool>& answers, const QStringList& changes, const QStringList& boxes,
                            const QString& selected) {
            QTest::newRow(tag) << archive << entries << plant << answers << changes + boxes + QStringList{selected};
        };
        const QString newBox = kTitle + "From \"New.zip\":\r\n\"New\" is installed: New Cars - 01/05/2026.";
        row("one folder too deep", "New.zip",
            {"f:New/New/drivers.txt", "d:New/New/sub/", "f:New/New/sub/c.tex", "f:New/readme.txt"}, "", {},
            kNewPack + QStringList{"+ cars/New/sub/", "+ cars/New/sub/c.tex"}, {newBox}, "New");
        row("at the top, 7z", "Top Cars.7z", {"f:drivers.txt", "f:a.tex"}, "", {},
            {"+ cars/Top Cars/", "+ cars/Top Cars/a.tex", "+ cars/Top Cars/drivers.txt"},
            {kTitle + "From \"Top Cars.7z\":\r\n\"Top Cars\" is installed: Top Cars - 01/05/2026."}, "Top Cars");
        row("two packs, tar.gz", "Two.tar.gz", {"f:notes.txt", "f:B/b.tex", "f:B/drivers.txt", "f:A/drivers.txt"}, "",
            {}, {"+ cars/A/", "+ cars/A/drivers.txt", "+ cars/B/", "+ cars/B/b.tex", "+ cars/B/drivers.txt"},
            {kTitle + "From \"Two.tar.gz\":\r\n\"A\" is installed: A Cars - 01/05/2026.\r\n\"B\" is installed: B "
                      "Cars - 01/05/2026."},
            "B");
        const auto refused = [&](const char* tag, const QString& archive, const QStringList& entries,
                                 const QString& why, const QString& plant = {}) {
            row(tag, archive, QStringList{"f:New/drivers.txt"} + entries, plant, {}, {}, {kNothing.arg(archive) + why},
                {});
        };
        row("no drivers.txt", "New.zip", {"f:New/a.tex"}, "", {}, {},
            {kNothing.arg("New.zip") + "no folder in it holds a drivers.txt, so it holds no skinpack."}, {});
        // Another copy of the program, killed as it installed, leaves its working folder after this one started.
        row("cut short meanwhile", "New.zip", {"f:New/drivers.txt"}, "cut short", {}, kNewPack, {newBox}, "New");
        refused("../", "New.tar", {"f:../evil.tex"},
                "its entry \"../evil.tex\" leads out of the folder it is unpacked into.");
        refused("the program's folder", "New.zip", {"f:previous/drivers.txt"},
                "its skinpack \"previous\" has the name of a folder Tarvok Car Manager keeps for itself.");
        refused("in the way: a file", "New.zip", {}, kInTheWay.arg("is a file"), "file");
        refused("in the way: a folder without drivers.txt", "New.zip", {},
                kInTheWay.arg("is a folder without a drivers.txt"), "folder");
#ifdef Q_OS_UNIX
        refused("in the way: a link", "New.zip", {}, kInTheWay.arg("is a link"), "link");
#endif
        const QString gtBox = kTitle + "From \"GT.zip\":\r\n\"GT\" is installed: GT Cars - 01/05/2026.";
        // A file of the release marked read-only goes with it, though Windows keeps one for the mark alone.
        row("replace, Yes", "GT.zip", {"f:GT/drivers.txt", "f:GT/c.tex"}, "read-only", {true},
            {"+ cars/GT/c.tex", "- cars/GT/a.tex", "- cars/GT/b.tex", "~ cars/GT/drivers.txt"}, {kReplace, gtBox},
            "GT");
        row("replace, No", "GT.zip", {"f:GT/drivers.txt", "f:GT/c.tex"}, "", {false}, {}, {kReplace}, {});
        row("the same release", "GT.zip", kGT, "same", {}, {},
            {kTitle + "From \"GT.zip\":\r\n\"GT\" is installed already, with the same files: nothing was changed."},
            "GT");
        const QString swap =
            "(offer) " + kTitle + "\"%1\" is installed. Swap it in now, so that the game races with its cars?";
        row("an older release active", "GT.zip", kGT, "active", {true, false}, {"~ cars/GT/drivers.txt"},
            {kReplace, gtBox, swap.arg("GT")}, "GT");
        row("the next meeting's pack", "New.zip", {"f:New/drivers.txt"}, "meeting", {false},
            kNewPack + QStringList{"+ cars/tarvmeet.txt"}, {newBox, swap.arg("New")}, "New");
    }

    void installs() {
        QFETCH(QString, archive);
        QFETCH(QStringList, entries);
        QFETCH(QString, plant);
        QFETCH(QList<bool>, answers);
        const CarFolder cars;
        cars.write("drivers.txt", CarFolder::driversTxt(plant == "active" ? "GT Cars" : "Classic", "12/04/2003"));
        cars.addPack("GT", "GT Cars", plant == "same" ? "01/05/2026" : "12/04/2003", {"a.tex", "b.tex"});
        if (plant == "file" || plant == "folder")
            cars.write(plant == "file" ? "New" : "New/notes.txt", "mine");
        if (plant == "read-only")
            QFile::setPermissions(cars.file("GT/a.tex"), QFileDevice::ReadOwner);
        if (plant == "link")
            QFile::link(cars.file("GT"), cars.file("New"));
        const QMap<QString, QString> formats{{"zip", "zip"}, {"7z", "7zip"}, {"tar", "pax"}, {"tar.gz", "pax"}};
        cars.write("../" + archive, archiveOf(formats.value(archive.section('.', 1)),
                                              archive.endsWith(".gz") ? "gzip" : "", "", entries, contentsOf));
        CannedSite site;
        site.files.insert("tarvmeet.txt", "1\r\n2026-12-13|Winter Cup|New|Spa\r\n");
        const TreeSnapshot before = cars.snapshot();
        StartedSession started(cars.host(), site);
        if (plant == "cut short")
            cars.makeOwn(".tarvok-install");
        if (plant == "meeting") {
            started.session.checkMeeting();
            started.window.takeBoxes();
        }
        started.window.answers = answers;
        started.session.installArchives({cars.file("../" + archive)});
        QFETCH(QStringList, outcome);
        const QString selected = started.window.listed.value(started.window.selectedRow.value_or(-1));
        QCOMPARE(cars.snapshot().changesSince(before) + started.window.boxes +
                     QStringList{selected.section(" .", 0, 0)},
                 outcome);
    }
};

QTEST_GUILESS_MAIN(InstallTest)
#include "test_install.moc"
