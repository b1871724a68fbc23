#include "league/NetworkFetch.h"
#include "LeagueServer.h"
#include "session/LogFile.h"
#include "SiteCertificate.h"
#include "support/CarFolder.h"
#include "support/Recorder.h"
#include "support/Texts.h"

#include <QtTest>

using namespace session;
using leagueserver::Mode;

namespace {

// The meeting box's first line, when the Winter Cup is the next meeting and when none is found.
const QString kFound = "Meeting Info | The next meeting is the Winter Cup on 2026-12-13 at Spa using the GT cars. \r\n";
const QString kNoMeeting = "Meeting Info | Sorry, I could not find any relevant meeting info.\r\n";
const QString kSpa = "The Spa track is installed\r\n", kReady = "GT is up to date\r\n" + kSpa;
const QString kNothingKnown = kNoMeeting + " is not installed\r\nThe  track is not installed\r\n" + kProblems;
const QString kNoPackList = "Pack Status | Sorry, I could not find the File I needed \r\nto check the skin packs";

// A member's game folder with the GT pack and the Spa track, a real league site, and a session on them.
struct LeagueDay {
    explicit LeagueDay(int stallMs = 2000, const QString& website = {}, const QSslConfiguration& tls = {})
        : site(0, tls), network(std::chrono::milliseconds(stallMs)) {
        cars.write("ZERN.cfg", (website.isEmpty() ? site.baseUrl() : website).toUtf8());
        cars.addPack("GT", "GT Cars", "12/04/2026", {"a.tex", "b.tex"});
        cars.write("GT/e.tex", ""); // and an empty texture, the same as the active one once swapped in
        cars.write("../run/Spa.trk", "track");
        publish("2026-12-13|Winter Cup|GT|Spa", "GT|12/04/2026");
        started = std::make_unique<StartedSession>(cars.host(), network);
        started->swap(0); // the GT cars are the active set
    }
    // The two lists the site serves, each of one line after its count.
    void publish(const QString& meeting, const QString& pack) {
        for (const auto& [name, line] : {std::pair("tarvmeet.txt", meeting), {"tarvver.txt", pack}})
            site.publish(name, ("1\r\n" + line + "\r\n").toUtf8());
    }
    QStringList check(void (Session::*command)()) {
        (started->session.*command)();
        return started->window.takeBoxes();
    }
    QStringList both() { return check(&Session::checkPacks) + check(&Session::checkMeeting); }

    CarFolder cars;
    leagueserver::LeagueServer site;
    league::NetworkFetch network;
    std::unique_ptr<StartedSession> started;
};

} // namespace

class ChecksTest : public QObject {
    Q_OBJECT

private slots:
    // The game races with the active cars: an up-to-date pack is ready only once the car folder holds its drivers.txt
    // and textures byte for byte, and otherwise its swap is offered.
    void theMeetingsPackMustBeTheActiveSet_data() {
        QTest::addColumn<QStringList>("changes"); // to the car folder and the site, and "yes" to the offer
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QString>("logged"); // what the comparison found; empty when nothing was compared
        const QStringList offered{kFound + "GT is up to date\r\nGT is not the active car set\r\n" + kSpa + kProblems,
                                  "(offer) Meeting Info | Swap the GT cars in now, ready for the Winter Cup?"};
        auto row = [](const char* t, QStringList c, QStringList b, QString l = {}) { QTest::newRow(t) << c << b << l; };
        const QString same = "the active cars are GT's", differ = "the active cars are not GT's: ";
        const QString otherBytes = " holds other bytes than GT's", problems = kSpa + kProblems;
        const QStringList ready{kFound + kReady + kOk};
        row("the same set", {}, ready, same);
        row("a pack without textures", {"remove GT/a.tex", "remove GT/b.tex", "remove GT/e.tex"}, ready, same);
        row("a texture of another size", {"write b.tex"}, offered, differ + "b.tex is 5 bytes, GT's 8");
        row("drivers.txt a byte off", {"flip drivers.txt"}, offered, differ + "drivers.txt" + otherBytes);
        row("a texture missing", {"remove b.tex"}, offered, differ + "b.tex is not there");
        row("a folder in the way", {"folder b.tex"}, offered, differ + "b.tex is a folder");
#ifdef Q_OS_UNIX
        row("a link out of the car folder", {"link b.tex"}, offered,
            differ + "b.tex is a link to a place outside the car folder");
#endif
        row("out of date", {"flip b.tex", "tarvver.txt 1;GT|13/04/2026"},
            {kFound + "GT is out of date\r\n" + problems});
        row("not listed", {"flip b.tex", "tarvver.txt 1;Touring|12/04/2026"}, {kFound + kReady + kProblems});
        // Names match in any letter case; only the counted lines are searched, or all of them under a count of 0.
        row("counted lines", {"tarvver.txt 1;Touring|11/04/2026;gt|12/04/2026"},
            {kFound + "GT date is invalid\r\n" + problems});
        row("a count of 0", {"tarvver.txt 0;Touring|11/04/2026;gt|12/04/2026"}, ready, same);
        // A published date that is not a date spoils only the check that read it.
        row("not a date", {"tarvver.txt 1;GT|TBA"}, {kFound + problems});
        // With both lists gone the meeting and the last real date read before are checked again.
        row("lists gone", {"check", "tarvver.txt 1;GT|TBA", "check", "tarvver.txt", "tarvmeet.txt"},
            {kNoMeeting + kReady + kProblems});
        // With no meeting ahead, the pack and track of the last line read are checked.
        row("no meeting", {"flip b.tex", "tarvmeet.txt 1;2026-11-29|Sprint|Touring|Monza"},
            {kNoMeeting + "Touring is not installed\r\nThe Monza track is not installed\r\n" + kProblems});
        // A name from the lists is one name in the car or track folder, never a way out of it.
        row("names that lead out",
            {"write ../outside/drivers.txt", "write car1.trk", "tarvver.txt 1;../outside|1/1/2003",
             "tarvmeet.txt 1;2026-12-13|Final|../outside|../cars/car1"},
            {"Meeting Info | The next meeting is the Final on 2026-12-13 at ../cars/car1 using the ../outside "
             "cars. \r\n../outside is not installed\r\nThe ../cars/car1 track is not installed\r\n" +
             kProblems});
        row("other bytes, yes, then all is well", {"flip b.tex", "yes"}, offered, differ + "b.tex" + otherBytes);
        row("cancelled", {"flip b.tex", "cancel"}, {}, "the member cancelled comparing the active cars with GT");
    }

    void theMeetingsPackMustBeTheActiveSet() {
        QFETCH(QStringList, changes);
        const bool yes = changes.contains("yes");
        LeagueDay day;
        for (const QString& change : changes) {
            const QString what = change.section(' ', 0, 0), name = change.section(' ', 1), path = day.cars.file(name);
            if (what == "write" || what == "flip")
                day.cars.write(name, what == "write" ? "other" : day.cars.read(name).replace(0, 1, "#"));
            if (what == "remove" || what == "folder" || what == "link")
                QFile::remove(path) || QDir(path).removeRecursively();
            if (what == "folder" || what == "link")
                QVERIFY(what == "folder" ? QDir().mkpath(path) : QFile::link("/dev/zero", path));
            if (what.startsWith("tarv")) // a list the site serves, its lines joined by ";"; none withdraws it
                name.isEmpty() ? day.site.withdraw(what)
                               : day.site.publish(what, QString(name).replace(';', "\r\n").toUtf8() + "\r\n");
            if (what == "check")
                day.check(&Session::checkMeeting);
            if (what == "cancel")
                day.started->window.whileCopying = [&day] { day.started->window.cancelCopies(); };
        }
        day.started->window.answers = {yes};
        const QString logs = logs_.filePath(QTest::currentDataTag());
        startLogFile(logs);
        const TreeSnapshot before = day.cars.snapshot();
        QTEST(day.check(&Session::checkMeeting), "boxes");
        const QString logged = loggedIn(logs);
        QTEST(QRegularExpression("(?s).* tarvok.\\w+: ([^\n]*active cars[^\n]*)").match(logged).captured(1), "logged");
        // Beyond the lists only a Yes changes anything: it swaps the pack in as the swap command does, and then all is
        // well.
        QStringList made = day.cars.snapshot().changesSince(before);
        made.removeIf([](const QString& change) { return change.contains("cars/tarv"); });
        QCOMPARE(yes ? made.filter(" cars/b.tex") : made, (yes ? QStringList{"~ cars/b.tex"} : QStringList()));
        if (yes)
            QCOMPARE(day.check(&Session::checkMeeting), QStringList{kFound + kReady + kOk});
    }

    // A list is fetched afresh or is missing: the one stored before goes first, and one that cannot be stored is
    // not read.
    void listsThatCannotBeHadAreMissing() {
        for (const bool withdrawn : {false, true}) {
            LeagueDay day;
            for (const char* list : {"tarvver.txt", "tarvmeet.txt"}) {
                withdrawn ? day.cars.write(list, "1\r\nOld|01/01/2000|Old|Old\r\n") : day.cars.makeFolder(list);
                if (withdrawn)
                    day.site.withdraw(list);
            }
            const TreeSnapshot before = day.cars.snapshot();
            QCOMPARE(day.both(), (QStringList{kNoPackList, kNothingKnown}));
            QCOMPARE(day.cars.snapshot().changesSince(before),
                     (withdrawn ? QStringList{"- cars/tarvmeet.txt", "- cars/tarvver.txt"} : QStringList()));
        }
    }

    void eachSiteFaultEndsForItsOwnReason_data() {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<QString>("website"); // empty: the site's own address
        QTest::addColumn<int>("stallMs");
        QTest::addColumn<QString>("logged"); // the log's line for the pack list, after its address
        const auto row = [](const char* tag, Mode mode, const QString& logged, const QString& website = {},
                            int stallMs = 300) { QTest::newRow(tag) << mode << website << stallMs << logged; };
        row("connection refused", Mode::Normal, " failed: Connection refused", "http://127.0.0.1:1/");
        row("an ftp address", Mode::Normal, " failed: not an http or https address", "ftp://127.0.0.1/");
        row("300 without a redirect", Mode::MultipleChoices, " failed: status 300 is no success; status 300");
        row("redirect loop", Mode::RedirectLoop, " failed: Too many redirects", {}, 3000);
        row("two lengths, Qt reading the first", Mode::TwoLengths,
            " failed: the body is 524288 bytes where its Content-Length says 524288, 1048577;");
        row("endless body", Mode::EndlessBody, " failed: the body is over 1048576 bytes");
        row("never answers", Mode::NeverAnswers, " failed: no progress for 300 ms");
        // A byte a second is progress, so only the limit on the whole transfer ends it.
        row("one byte a second", Mode::OneBytePerSecond, " failed: over 2400 ms in all", {}, 1200);
        // Unpacked it would pass the cap; the program asks for no encoding, so the site's gzip is refused unpacked.
        row("gzip bomb, under the full time-out", Mode::GzipBomb, " failed: the body is encoded as gzip", {}, 60000);
        row("one 1 MiB line", Mode::HugeLine, ": status 200, 1048576 bytes");
    }

    void eachSiteFaultEndsForItsOwnReason() {
        QFETCH(Mode, mode);
        QFETCH(QString, website);
        QFETCH(int, stallMs);
        QFETCH(QString, logged);
        LeagueDay day(stallMs, website);
        day.site.publish("tarvver.txt", QByteArray(1024 * 1024 + 1, '1'));
        day.site.publish("tarvmeet.txt", QByteArray(1024 * 1024 + 1, '1'));
        day.site.setMode(mode);
        const QString logs = logs_.filePath(QTest::currentDataTag());
        startLogFile(logs);
        // A fetch that failed is a missing list; one that did not shows the list, empty here.
        const QStringList packs = logged.startsWith(" failed: ") ? QStringList{kNoPackList}
                                                                 : QStringList{"Packs In file | ", "Pack Status | "};
        QCOMPARE(day.both(), packs + QStringList{kNothingKnown});
        // Each ends for its own reason, none by waiting for a time-out it was not meant to meet.
        expectLogged(logs, (website.isEmpty() ? day.site.baseUrl() : website) + "tarvver.txt", logged);
    }

    // The site's own certificate is trusted, a stranger's is not.
    void httpsListsComeOnlyFromATrustedSite() {
        const leagueserver::TrustedSite trust;
        for (const auto certificate : {leagueserver::Certificate::Site, leagueserver::Certificate::Stranger}) {
            const bool trusted = certificate == leagueserver::Certificate::Site;
            // Wine's TLS cannot serve, so under Wine the sites are OpenSSL's, which scripts/windows starts and names;
            // without them the test's own fail there.
            const QString website = qEnvironmentVariable(trusted ? "TARVOK_HTTPS_SITE" : "TARVOK_HTTPS_STRANGER");
            LeagueDay day(2000, website, leagueserver::siteTls(certificate));
            const QString logs = logs_.filePath(trusted ? "trusted" : "stranger");
            startLogFile(logs);
            QCOMPARE(day.check(&Session::checkPacks),
                     (trusted ? QStringList{"Packs In file | GT:12/04/2026\r\n", "Pack Status | GT is up to date\r\n"}
                              : QStringList{kNoPackList}));
            QCOMPARE(day.cars.read("tarvver.txt"), trusted ? "1\r\nGT|12/04/2026\r\n" : QByteArray());
            expectLogged(logs, (website.isEmpty() ? day.site.baseUrl() : website) + "tarvver.txt",
                         trusted ? ": status 200, 18 bytes" : " failed: SSL handshake failed");
        }
    }

private:
    // The log's line for the fetch of the address, after the address.
    static void expectLogged(const QString& logs, const QString& address, const QString& logged) {
        const QString lines = loggedIn(logs);
        QVERIFY2(
            lines.contains(QRegularExpression(" tarvok.league: fetch " + QRegularExpression::escape(address) + logged)),
            qPrintable(lines));
    }

    LogFolder logs_; // each case's own log, in a folder that outlives the open file, which Windows would not remove
};

QTEST_GUILESS_MAIN(ChecksTest)
#include "test_checks.moc"
