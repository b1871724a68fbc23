#include "league/Download.h"
#include "league/NetworkFetch.h"
#include "league/PackStatus.h"
#include "meeting/MeetingCheck.h"
#include "support/CarFolder.h"
#include "support/LeagueSite.h"
#include "support/Process.h"
#include "support/RecordingPorts.h"
#include "support/TestMain.h"

#include <QDataStream>
#include <QFile>
#include <QTest>

#include <functional>
#include <optional>

using namespace std::chrono_literals;

namespace {

constexpr qsizetype kDiskRoom = 64 * 1024;

// A pack version list too large for the room left on the disk, yet well below the download cap.
QByteArray longPackList() {
    QByteArray list = "2\r\nGT|12/04/2003\r\nTouring|01/05/2003\r\n";
    while (list.size() < 4 * kDiskRoom)
        list += "; the league's notes on every pack, kept below the count so nobody reads them\r\n";
    return list;
}

#ifdef Q_OS_UNIX
// Runs the command in a child process whose files cannot grow past kDiskRoom bytes, as on a disk
// that fills up; the boxes it showed as "title | prompt", or nothing when the child did not finish.
std::optional<QStringList> onAFullDisk(const std::function<QStringList()>& command) {
    const std::optional<QByteArray> bytes = runWithDiskRoom(kDiskRoom, [&command] {
        QByteArray sent;
        QDataStream out(&sent, QIODevice::WriteOnly);
        out << command();
        return sent;
    });
    if (!bytes)
        return std::nullopt;
    QStringList shown;
    QDataStream in(*bytes);
    in >> shown;
    return shown;
}
#endif

QStringList boxes(const RecordingPorts& ui) {
    QStringList described;
    for (const ShownBox& box : ui.msgBox.shown)
        described.append(box.title + QStringLiteral(" | ") + box.prompt);
    return described;
}

// A car folder with old copies of both league lists, and the league's site with far longer ones.
struct FullDiskDay {
    FullDiskDay() {
        for (const CarFolder* folder : {&cars, &expected}) {
            folder->addPack(QStringLiteral("GT"), QStringLiteral("GT Cars"), QStringLiteral("12/04/2003"), {"gt.tex"});
            folder->write(QStringLiteral("drivers.txt"), CarFolder::driversTxt("GT Cars", "12/04/2003"));
            folder->write(QStringLiteral("gt.tex"), "active");
            folder->write(QStringLiteral("tarvmeet.txt"), "1\r\n2026-12-13|Round 5|GT|Spa\r\n");
        }
        cars.write(QStringLiteral("tarvver.txt"), "1\r\nGT|01/01/2003\r\n");
        site.publish(QStringLiteral("tarvver.txt"), longPackList());
        site.publish(QStringLiteral("tarvmeet.txt"), "1\r\n2026-12-13|Round 5|GT|Spa\r\n" + longPackList());
        st.appPath = fs::fromQt(cars.path());
        st.strWebsite = site.baseUrl();
    }

    CarFolder cars;
    CarFolder expected; // the lists a test fetches are deleted first, and their new copies never fit
    LeagueSite site;
    NetworkFetch network{5s};
    FormState st;
};

} // namespace

// The league's lists arriving where they cannot be written: the old copy is gone as before every
// fetch, the new one is never left half written, and the check reports a missing list.
class DownloadFaultsTest : public QObject {
    Q_OBJECT

private slots:
    void downloadOnAFullDisk() {
#ifdef Q_OS_UNIX
        FullDiskDay day;
        const std::optional<QStringList> shown = onAFullDisk([&day] {
            subDownloadFile(day.st, day.network, QStringLiteral("tarvver.txt"));
            return QStringList();
        });
        QCOMPARE(shown, std::optional(QStringList()));
        QCOMPARE(day.cars.snapshot(), day.expected.snapshot());
#else
        QSKIP("file size limits are a POSIX feature");
#endif
    }

    void checkPacksOnAFullDisk() {
#ifdef Q_OS_UNIX
        FullDiskDay day;
        const std::optional<QStringList> shown = onAFullDisk([&day] {
            RecordingPorts ui(&day.network);
            subCheckAllPacks(day.st, ui.ports);
            return boxes(ui);
        });
        QCOMPARE(shown, std::optional(QStringList{QStringLiteral("Pack Status | Sorry, I could not find the File I "
                                                                 "needed \r\nto check the skin packs")}));
        QCOMPARE(day.cars.snapshot(), day.expected.snapshot());
#else
        QSKIP("file size limits are a POSIX feature");
#endif
    }

    void checkMeetingOnAFullDisk() {
#ifdef Q_OS_UNIX
        FullDiskDay day;
        const std::optional<QStringList> shown = onAFullDisk([&day] {
            RecordingPorts ui(&day.network);
            subCheckMeetings(day.st, ui.ports);
            return boxes(ui);
        });
        QVERIFY(QFile::remove(day.expected.file(QStringLiteral("tarvmeet.txt"))));
        QCOMPARE(shown, std::optional(QStringList{QStringLiteral(
                            "Meeting Info | Sorry, I could not find any relevant meeting info.\r\n is not installed\r\n"
                            "The  track is not installed\r\nThere seem to be problems which may stop you racing the "
                            "next meeting.\r\nPlease visit the Tarvok website to fix the problems.")}));
        QCOMPARE(day.cars.snapshot(), day.expected.snapshot());
#else
        QSKIP("file size limits are a POSIX feature");
#endif
    }

    void aFolderThatCannotBeWrittenNeverShowsOldLists() {
#ifdef Q_OS_UNIX
        FullDiskDay day;
        day.site.publish(QStringLiteral("tarvver.txt"), "1\r\nGT|12/04/2003\r\n");
        const QStringList before = day.cars.snapshot();
        // Readable and searchable by every user, writable by none.
        QFile::setPermissions(day.cars.file(QStringLiteral("..")), QFile::ReadOwner | QFile::WriteOwner |
                                                                       QFile::ExeOwner | QFile::ReadOther |
                                                                       QFile::ExeOther);
        QFile::setPermissions(day.cars.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
        const std::optional<QByteArray> shown = runInChild({std::nullopt, true}, [&day] {
            RecordingPorts ui(&day.network);
            subCheckAllPacks(day.st, ui.ports);
            subCheckMeetings(day.st, ui.ports);
            return boxes(ui).join(QLatin1Char('\n')).toUtf8();
        });
        QFile::setPermissions(day.cars.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(shown, std::optional(QByteArray(
                            "Pack Status | Sorry, I could not find the File I needed \r\nto check the skin packs\n"
                            "Meeting Info | Sorry, I could not find any relevant meeting info.\r\n is not installed\r\n"
                            "The  track is not installed\r\nThere seem to be problems which may stop you racing the "
                            "next meeting.\r\nPlease visit the Tarvok website to fix the problems.")));
        QCOMPARE(day.cars.snapshot(), before);
#else
        QSKIP("user permissions are a POSIX feature");
#endif
    }

    void folderWhereTheListMustGo() {
        FullDiskDay day;
        QVERIFY(QFile::remove(day.cars.file(QStringLiteral("tarvver.txt"))));
        for (const CarFolder* folder : {&day.cars, &day.expected})
            folder->write(QStringLiteral("tarvver.txt/notes.txt"), "a member's notes");
        QVERIFY(QFile::remove(day.cars.file(QStringLiteral("tarvmeet.txt"))));
        QVERIFY(QFile::remove(day.expected.file(QStringLiteral("tarvmeet.txt"))));
        day.site.publish(QStringLiteral("tarvver.txt"), "1\r\nGT|12/04/2003\r\n");
        RecordingPorts ui(&day.network);

        subCheckAllPacks(day.st, ui.ports);

        QCOMPARE(boxes(ui), QStringList{QStringLiteral("Pack Status | Sorry, I could not find the File I needed \r\n"
                                                       "to check the skin packs")});
        QCOMPARE(day.cars.snapshot(), day.expected.snapshot());
    }
};

TARVOK_TEST(DownloadFaultsTest)
#include "test_download_faults.moc"
