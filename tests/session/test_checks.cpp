#include "league/NetworkFetch.h"
#include "LeagueServer.h"
#include "support/CarFolder.h"
#include "support/Process.h"
#include "support/Recorder.h"

#include <QElapsedTimer>
#include <QTest>

using namespace std::chrono_literals;
using leagueserver::Mode;

namespace {

const QString kNextWeek = QStringLiteral("2026-12-13");
const QString kRelease = QStringLiteral("12/04/2026");
const QString kWinterCup =
    "Meeting Info | The next meeting is the Winter Cup on " + kNextWeek + " at Spa using the GT cars. \r\n";
const QString kNoMeeting = QStringLiteral("Meeting Info | Sorry, I could not find any relevant meeting info.\r\n");
const QString kOk = QStringLiteral("Everything appears to be OK for the next meeting.");
const QString kProblems = QStringLiteral("There seem to be problems which may stop you racing the next meeting.\r\n"
                                         "Please visit the Tarvok website to fix the problems.");
const QString kNoPackList =
    QStringLiteral("Pack Status | Sorry, I could not find the File I needed \r\nto check the skin packs");
const QString kNothingKnown = kNoMeeting + " is not installed\r\nThe  track is not installed\r\n" + kProblems;

QByteArray listOf(const QStringList& lines) {
    return (QString::number(lines.size()) + "\r\n" + lines.join(QStringLiteral("\r\n")) + "\r\n").toUtf8();
}

// A member's game folder with the GT pack and the Spa track, a real league site serving both lists, and
// a session started on them.
struct LeagueDay {
    explicit LeagueDay(std::chrono::milliseconds stall = 2s) : network(stall) {
        cars.write(QStringLiteral("ZERN.cfg"), site.baseUrl().toUtf8());
        cars.addPack(QStringLiteral("GT"), QStringLiteral("GT Cars"), kRelease);
        cars.write(QStringLiteral("../run/Spa.trk"), "track");
        site.publish(QStringLiteral("tarvmeet.txt"), listOf({kNextWeek + "|Winter Cup|GT|Spa"}));
        site.publish(QStringLiteral("tarvver.txt"), listOf({"GT|" + kRelease}));
        started = std::make_unique<StartedSession>(cars.host(), network);
    }
    QStringList check(void (Session::*command)()) {
        (started->session.*command)();
        return started->window.takeBoxes();
    }

    CarFolder cars;
    leagueserver::LeagueServer site;
    NetworkFetch network;
    std::unique_ptr<StartedSession> started;
};

} // namespace

class ChecksTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom)); }

    void checkPacks() {
        LeagueDay day;
        day.cars.addPack(QStringLiteral("Touring"), QStringLiteral("Touring"), QStringLiteral("01/04/2003"));
        day.site.publish(QStringLiteral("tarvver.txt"),
                         listOf({"GT|" + kRelease, "Touring|01/05/2003", "Rally|TBA", "Classic|01/05/2003"}));
        QCOMPARE(day.check(&Session::checkPacks),
                 (QStringList{
                     "Packs In file | GT:" + kRelease + "\r\nTouring:01/05/2003\r\nRally:TBA\r\nClassic:01/05/2003\r\n",
                     "Pack Status | GT is up to date\r\nTouring is out of date\r\nClassic is not installed\r\n"}));
        day.site.withdraw(QStringLiteral("tarvver.txt"));
        QCOMPARE(day.check(&Session::checkPacks), (QStringList{"Packs In file | ", "Pack Status | "}));
        QCOMPARE(day.cars.read(QStringLiteral("tarvver.txt")), QByteArray());
    }

    void whatALaterCheckKeeps() {
        LeagueDay day;
        day.site.withdraw(QStringLiteral("tarvmeet.txt"));
        day.site.withdraw(QStringLiteral("tarvver.txt"));
        QCOMPARE(day.check(&Session::checkMeeting), QStringList{kNothingKnown});
        day.site.publish(QStringLiteral("tarvmeet.txt"), listOf({kNextWeek + "|Winter Cup|GT|Spa"}));
        day.site.publish(QStringLiteral("tarvver.txt"), listOf({"GT|" + kRelease}));
        QCOMPARE(day.check(&Session::checkMeeting),
                 QStringList{kWinterCup + "GT is up to date\r\nThe Spa track is installed\r\n" + kOk});
        // A published date that is not a date spoils only the check that read it.
        day.site.publish(QStringLiteral("tarvver.txt"), listOf({"GT|TBA"}));
        QCOMPARE(day.check(&Session::checkMeeting),
                 QStringList{kWinterCup + "The Spa track is installed\r\n" + kProblems});
        // With both lists gone the meeting and the last real date read before are checked again.
        day.site.withdraw(QStringLiteral("tarvmeet.txt"));
        day.site.withdraw(QStringLiteral("tarvver.txt"));
        QCOMPARE(day.check(&Session::checkMeeting),
                 QStringList{kNoMeeting + "GT is up to date\r\nThe Spa track is installed\r\n" + kProblems});
        // With no meeting ahead, the pack and track of the last line read are checked.
        day.site.publish(QStringLiteral("tarvmeet.txt"), listOf({"2026-11-29|Autumn Sprint|Touring|Monza"}));
        QCOMPARE(
            day.check(&Session::checkMeeting),
            QStringList{kNoMeeting + "Touring is not installed\r\nThe Monza track is not installed\r\n" + kProblems});
    }

    void leagueNamesNameOneThingInTheCarFolder() {
        LeagueDay day;
        day.cars.addPack(QStringLiteral("../outside"), QStringLiteral("Outside"), kRelease);
        day.cars.write(QStringLiteral("car1.trk"), "not a track");
        day.site.publish(QStringLiteral("tarvver.txt"), listOf({"..|" + kRelease, "../outside|" + kRelease,
                                                                "..\\outside|" + kRelease, "/|" + kRelease}));
        day.site.publish(QStringLiteral("tarvmeet.txt"), listOf({kNextWeek + "|Final|../outside|../cars/car1"}));
        const TreeSnapshot before = day.cars.snapshot();
        QCOMPARE(
            day.check(&Session::checkPacks).last(),
            QStringLiteral("Pack Status | .. is not installed\r\n../outside is not installed\r\n..\\outside is not "
                           "installed\r\n/ is not installed\r\n"));
        QCOMPARE(day.check(&Session::checkMeeting).last(),
                 "Meeting Info | The next meeting is the Final on " + kNextWeek +
                     " at ../cars/car1 using the ../outside cars. \r\n../outside is not installed\r\nThe ../cars/car1 "
                     "track is not installed\r\n" +
                     kProblems);
        QCOMPARE(day.cars.snapshot().changesSince(before), (QStringList{"+ cars/tarvmeet.txt", "+ cars/tarvver.txt"}));
    }

#ifdef Q_OS_UNIX
    void listsThatCannotBeStoredAreMissing_data() {
        QTest::addColumn<bool>("readOnly"); // else a full disk
        QTest::newRow("read-only car folder: the old lists stay, unread") << true;
        QTest::newRow("full disk: the old lists go, as before every fetch") << false;
    }

    void listsThatCannotBeStoredAreMissing() {
        QFETCH(bool, readOnly);
        LeagueDay day;
        day.cars.write(QStringLiteral("tarvver.txt"), listOf({"Old|01/01/2000"}));
        day.cars.write(QStringLiteral("tarvmeet.txt"), listOf({kNextWeek + "|Old Cup|Old|Old"}));
        day.site.publish(QStringLiteral("tarvver.txt"), listOf({"GT|" + kRelease}) + QByteArray(128 * 1024, ' '));
        day.site.publish(QStringLiteral("tarvmeet.txt"),
                         listOf({kNextWeek + "|Winter Cup|GT|Spa"}) + QByteArray(128 * 1024, ' '));
        const TreeSnapshot before = day.cars.snapshot();
        const auto everyoneMayRead = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
        if (readOnly) {
            QFile::setPermissions(day.cars.file(QStringLiteral("..")), everyoneMayRead | QFile::WriteOwner);
            QFile::setPermissions(day.cars.path(), everyoneMayRead);
        }
        const std::optional<QByteArray> shown =
            runInChild({readOnly ? std::nullopt : std::optional(qint64(64 * 1024)), readOnly}, [&day] {
                QStringList boxes = day.check(&Session::checkPacks);
                return (boxes + day.check(&Session::checkMeeting)).join('\n').toUtf8();
            });
        QFile::setPermissions(day.cars.path(), everyoneMayRead | QFile::WriteOwner);
        QCOMPARE(QString::fromUtf8(shown.value_or("child failed")), kNoPackList + '\n' + kNothingKnown);
        const QStringList oldListsGone{"- cars/tarvmeet.txt", "- cars/tarvver.txt"};
        QCOMPARE(day.cars.snapshot().changesSince(before), readOnly ? QStringList() : oldListsGone);
    }

    void aHostileSiteCostsSecondsAndLittleMemory_data() {
        QTest::addColumn<int>("mode");
        for (const auto& [name, mode] : std::initializer_list<std::pair<const char*, Mode>>{
                 {"never answers", Mode::NeverAnswers},
                 {"endless body", Mode::EndlessBody},
                 {"gzip bomb", Mode::GzipBomb},
                 {"one 1 MiB line", Mode::HugeLine},
                 {"html error page with status 200", Mode::HtmlErrorPage}})
            QTest::newRow(name) << int(mode);
    }

    void aHostileSiteCostsSecondsAndLittleMemory() {
        QFETCH(int, mode);
        LeagueDay day(300ms);
        day.site.setMode(Mode(mode));
        QElapsedTimer took;
        took.start();
        const std::optional<QByteArray> shown = runInChild({}, [&day] {
            const qint64 resident = residentKiB();
            QStringList boxes = day.check(&Session::checkPacks);
            boxes += day.check(&Session::checkMeeting);
            return (boxes.join('\n') + QStringLiteral("\n%1").arg(peakGrowthKiB(resident) < 64 * 1024)).toUtf8();
        });
        // The page's nameless last line matches the meeting's empty pack name, without a date: no pack line.
        const QString meetingBox = mode == int(Mode::HtmlErrorPage)
                                       ? kNoMeeting + "The  track is not installed\r\n" + kProblems
                                       : kNothingKnown;
        QCOMPARE(QString::fromUtf8(shown.value_or("child failed")),
                 QStringList({"Packs In file | ", "Pack Status | ", meetingBox, "1"}).join('\n'));
        QVERIFY2(took.elapsed() < 8000,
                 qPrintable(QString::number(took.elapsed()))); // three fetches of 2 x 300 ms at most, and slack
    }
#endif
};

QTEST_GUILESS_MAIN(ChecksTest)
#include "test_checks.moc"
