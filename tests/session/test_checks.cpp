#include "league/NetworkFetch.h"
#include "LeagueServer.h"
#include "support/CarFolder.h"
#include "support/Process.h"
#include "support/Recorder.h"
#include "support/Texts.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTest>

#include <numeric>

using namespace carsets;
using namespace league;
using namespace meeting;
using namespace session;

using namespace std::chrono_literals;
using leagueserver::Mode;

namespace {

const QString kWinterCup = "2026-12-13|Winter Cup|GT|Spa";
const QString kMeeting = "Meeting Info | ";
const QString kFound = "The next meeting is the Winter Cup on 2026-12-13 at Spa using the GT cars. \r\n";
const QString kNoMeeting = "Sorry, I could not find any relevant meeting info.\r\n";
const QString kReady = "GT is up to date\r\nThe Spa track is installed\r\n";
const QString kNothingKnown =
    kMeeting + kNoMeeting + " is not installed\r\nThe  track is not installed\r\n" + kProblems;

// A member's game folder with the GT pack and the Spa track, a real league site, and a session on them.
struct LeagueDay {
    explicit LeagueDay(std::chrono::milliseconds stall = 2s, const QString& website = {}) : network(stall) {
        cars.write("ZERN.cfg", (website.isEmpty() ? site.baseUrl() : website).toUtf8());
        cars.addPack("GT", "GT Cars", "12/04/2026");
        cars.write("../run/Spa.trk", "track");
        publish({kWinterCup}, {"GT|12/04/2026"});
        started = std::make_unique<StartedSession>(cars.host(), network);
    }
    // The two lists the site serves, each with its count line; an empty one is withdrawn.
    void publish(const QStringList& meetings, const QStringList& packs) {
        for (const auto& [name, lines] : {std::pair("tarvmeet.txt", meetings), {"tarvver.txt", packs}}) {
            if (lines.isEmpty())
                site.withdraw(name);
            else
                site.publish(name, (QString::number(lines.size()) + "\r\n" + lines.join("\r\n") + "\r\n").toUtf8());
        }
    }
    // The boxes the command showed, as "title | prompt" joined by tabs.
    QString check(void (Session::*command)()) {
        (started->session.*command)();
        return started->window.takeBoxes().join('\t');
    }
    QString both() {
        const QString packs = check(&Session::checkPacks);
        return packs + '\t' + check(&Session::checkMeeting);
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

    void whatTheSiteSendsIsStoredAsSent() {
        LeagueDay day;
        QByteArray everyByte(256, '\0');
        std::iota(everyByte.begin(), everyByte.end(), '\0');
        for (const QByteArray& list : {everyByte, QByteArray(1024 * 1024, 'x'), QByteArray()}) {
            day.site.publish("tarvver.txt", list);
            day.check(&Session::checkPacks);
            QCOMPARE(day.cars.read("tarvver.txt"), list);
        }
    }

    void whatALaterCheckKeeps() {
        LeagueDay day;
        QCOMPARE(day.check(&Session::checkMeeting), kMeeting + kFound + kReady + kOk);
        // A published date that is not a date spoils only the check that read it.
        day.publish({kWinterCup}, {"GT|TBA"});
        QCOMPARE(day.check(&Session::checkMeeting), kMeeting + kFound + "The Spa track is installed\r\n" + kProblems);
        // With both lists gone the meeting and the last real date read before are checked again.
        day.publish({}, {});
        QCOMPARE(day.check(&Session::checkMeeting), kMeeting + kNoMeeting + kReady + kProblems);
        // With no meeting ahead, the pack and track of the last line read are checked.
        day.publish({"2026-11-29|Autumn Sprint|Touring|Monza"}, {});
        QCOMPARE(day.check(&Session::checkMeeting),
                 kMeeting + kNoMeeting + "Touring is not installed\r\nThe Monza track is not installed\r\n" +
                     kProblems);
    }

    void leagueNamesNameOneThingInTheCarFolder() {
        LeagueDay day;
        day.cars.addPack("../outside", "Outside", "12/04/2026");
        day.cars.write("car1.trk", "not a track");
        day.publish({"2026-12-13|Final|../outside|../cars/car1"},
                    {"..|1/1/2003", "../outside|1/1/2003", "..\\outside|1/1/2003"});
        const TreeSnapshot before = day.cars.snapshot();
        QCOMPARE(
            day.both().section('\t', 1).remove(QRegularExpression("Meeting Info.*cars. \r\n")),
            "Pack Status | .. is not installed\r\n../outside is not installed\r\n..\\outside is not installed\r\n\t"
            "../outside is not installed\r\nThe ../cars/car1 track is not installed\r\n" +
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
        day.cars.write("tarvver.txt", "1\r\nOld|01/01/2000\r\n");
        day.cars.write("tarvmeet.txt", "1\r\n2026-12-13|Old Cup|Old|Old\r\n");
        day.publish({kWinterCup + QString(128 * 1024, ' ')}, {"GT|12/04/2026" + QString(128 * 1024, ' ')});
        const TreeSnapshot before = day.cars.snapshot();
        const auto everyoneMayRead = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
        QFile::setPermissions(day.cars.file(".."), everyoneMayRead | QFile::WriteOwner);
        QFile::setPermissions(day.cars.path(), everyoneMayRead | (readOnly ? QFile::Permissions() : QFile::WriteOwner));
        const std::optional<QByteArray> shown =
            runInChild({readOnly ? std::nullopt : std::optional(qint64(64 * 1024)), readOnly},
                       [&day] { return day.both().toUtf8(); });
        QFile::setPermissions(day.cars.path(), everyoneMayRead | QFile::WriteOwner);
        QCOMPARE(QString::fromUtf8(shown.value_or("child failed")),
                 "Pack Status | Sorry, I could not find the File I needed \r\nto check the skin packs\t" +
                     kNothingKnown);
        const QStringList oldListsGone{"- cars/tarvmeet.txt", "- cars/tarvver.txt"};
        QCOMPARE(day.cars.snapshot().changesSince(before), readOnly ? QStringList() : oldListsGone);
    }

#endif

    void aSiteThatFailsCostsSecondsAndLittleMemory_data() {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<QString>("website"); // empty: the site's own address
        QTest::addColumn<int>("stallMs");
        const auto row = [](const char* tag, Mode mode, const QString& website = {}, int stallMs = 300) {
            QTest::newRow(tag) << mode << website << stallMs;
        };
        row("connection refused", Mode::Normal, "http://127.0.0.1:1/");
        row("an ftp address", Mode::Normal, "ftp://127.0.0.1/");
        row("no scheme", Mode::Normal, "127.0.0.1/");
        row("over 1 MiB", Mode::Normal);
        row("404", Mode::NotFound);
        row("500", Mode::ServerError);
        row("redirect loop", Mode::RedirectLoop);
        row("closes mid-body", Mode::ClosesMidBody);
        row("endless body", Mode::EndlessBody);
        row("never answers", Mode::NeverAnswers);
        // A byte a second is progress, so only the limit on the whole transfer ends it.
        row("one byte a second", Mode::OneBytePerSecond, {}, 1200);
        row("gzip bomb, under the full time-out", Mode::GzipBomb, {}, 60000);
        row("one 1 MiB line", Mode::HugeLine);
        row("html error page with status 200", Mode::HtmlErrorPage);
    }

    void aSiteThatFailsCostsSecondsAndLittleMemory() {
        QFETCH(Mode, mode);
        QFETCH(QString, website);
        QFETCH(int, stallMs);
        LeagueDay day(std::chrono::milliseconds(stallMs), website);
        day.site.publish("tarvver.txt", QByteArray(1024 * 1024 + 1, '1'));
        day.site.publish("tarvmeet.txt", QByteArray(1024 * 1024 + 1, '1'));
        day.site.setMode(mode);
        QElapsedTimer took;
        took.start();
#ifdef Q_OS_UNIX
        const std::optional<QByteArray> shown = runInChild({}, [&day] {
            const qint64 before = peakKiB();
            const QString boxes = day.both();
            return (boxes + (peakKiB() - before < 64 * 1024 ? "" : "\tmore than 64 MiB")).toUtf8();
        });
        const QString boxes = QString::fromUtf8(shown.value_or("child failed"));
#else
        const QString boxes = day.both();
#endif
        // The page's nameless last line matches the meeting's empty pack name, without a date: no pack line.
        const QString meeting = mode == Mode::HtmlErrorPage
                                    ? kMeeting + kNoMeeting + "The  track is not installed\r\n" + kProblems
                                    : kNothingKnown;
        QCOMPARE(boxes, "Packs In file | \tPack Status | \t" + meeting);
        QVERIFY2(took.elapsed() < 3000 + 6 * std::min(stallMs, 1200), qPrintable(QString::number(took.elapsed())));
    }
};

QTEST_GUILESS_MAIN(ChecksTest)
#include "test_checks.moc"
