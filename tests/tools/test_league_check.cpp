#include "AsOf.h"
#include "Command.h"
#include "LeagueServer.h"
#include "SiteCertificate.h"
#include "support/CarFolder.h"
#include "support/Recorder.h"

#include <QtTest>

using leaguecheck::runCheck;

namespace {

const QByteArray kPacks = "2;GT|2026-04-12;Touring|2026-05-01";
const QByteArray kMeetings = "2;2026-12-13|Round 5|GT|Spa;2026-12-20|Round 6|Touring|Monza";

// A league file from its lines joined by ";".
QByteArray file(QByteArray lines) {
    return lines.isEmpty() ? lines : lines.replace(';', "\r\n") + "\r\n";
}

// One run of the check as of 6 December 2026: its exit status, its report and what it said went wrong.
struct Run {
    explicit Run(const QStringList& where) {
        QTextStream outStream(&out), errStream(&err);
        status = runCheck(QStringList{"tarvok-league-check", "--today", "2026-12-06"} + where, outStream, errStream);
    }
    // Each flag's "file:line".
    QStringList flagged() const {
        static const QRegularExpression flag("^(tarv(ver|meet)\\.txt:[0-9]+): ", QRegularExpression::MultilineOption);
        QStringList places;
        for (auto match = flag.globalMatch(out); match.hasNext();)
            places.append(match.next().captured(1));
        return places;
    }
    int status = -1;
    QString out, err;
};

// The check of a folder holding the two lists.
Run checkFolder(const QByteArray& packs, const QByteArray& meetings) {
    QTemporaryDir folder;
    for (const auto& [name, bytes] : {std::pair("/tarvver.txt", packs), {"/tarvmeet.txt", meetings}}) {
        QFile out(folder.path() + name);
        out.open(QIODevice::WriteOnly);
        out.write(bytes);
    }
    return Run({folder.path()});
}

} // namespace

class LeagueCheckTest : public QObject {
    Q_OBJECT

private slots:
    void eachSlipIsFlaggedOnItsLine_data() {
        QTest::addColumn<QByteArray>("packs");
        QTest::addColumn<QByteArray>("meetings");
        QTest::addColumn<QStringList>("flagged");
        const auto row = [](const char* tag, const QByteArray& packs, const QByteArray& meetings, QStringList flagged) {
            QTest::newRow(tag) << file(packs) << file(meetings) << flagged;
        };
        row("clean", kPacks, kMeetings, {});
        row("entries past the count", "1;GT|2026-04-12;Touring|2026-05-01", kMeetings,
            {"tarvver.txt:1", "tarvver.txt:3", "tarvmeet.txt:3"});
        row("entries missing", "3;GT|2026-04-12;Touring|2026-05-01", kMeetings, {"tarvver.txt:1"});
        row("a count that is no number", "two;GT|2026-04-12;Touring|2026-05-01", kMeetings, {"tarvver.txt:1"});
        row("an empty line", "3;GT|2026-04-12;;Touring|2026-05-01", kMeetings, {"tarvver.txt:3"});
        row("an empty file", "", kMeetings, {"tarvver.txt:1", "tarvmeet.txt:2", "tarvmeet.txt:3"});
        row("a byte order mark", "\xEF\xBB\xBF" + kPacks, kMeetings, {"tarvver.txt:1"});
        row("a blank before the separator", "2;GT |2026-04-12;Touring|2026-05-01", kMeetings,
            {"tarvver.txt:2", "tarvmeet.txt:2"});
        row("no separator", "2;GT 2026-04-12;Touring|2026-05-01", kMeetings, {"tarvver.txt:2", "tarvmeet.txt:2"});
        row("listed twice", "3;GT|2026-04-12;Touring|2026-05-01;gt|2026-04-13", kMeetings, {"tarvver.txt:4"});
        row("a name refused", "3;GT|2026-04-12;Touring|2026-05-01;..\\Rally|2026-05-01", kMeetings, {"tarvver.txt:4"});
        row("no date", "2;GT|TBA;Touring|2026-05-01", kMeetings, {"tarvver.txt:2"});
        row("day or month first", "2;GT|05/04/2026;Touring|2026-05-01", kMeetings, {"tarvver.txt:2"});
        row("a two-digit year", "2;GT|12 Apr 26;Touring|2026-05-01", kMeetings, {"tarvver.txt:2"});
        row("a time of day", "2;GT|2026-04-12 10:30;Touring|2026-05-01", kMeetings, {"tarvver.txt:2"});
        row("a field too few", kPacks, "2;2026-12-13|Round 5|GT;2026-12-20|Round 6|Touring|Monza", {"tarvmeet.txt:2"});
        row("a pack not listed", kPacks, "2;2026-12-13|Round 5|Rally|Spa;2026-12-20|Round 6|Touring|Monza",
            {"tarvmeet.txt:2"});
        row("out of date order", kPacks, "2;2026-12-20|Round 6|Touring|Monza;2026-12-13|Round 5|GT|Spa",
            {"tarvmeet.txt:3"});
        row("no meeting ahead", kPacks, "2;2026-11-29|Round 3|GT|Spa;2026-12-05|Round 4|Touring|Monza",
            {"tarvmeet.txt:1"});
        row("a track refused", kPacks, "2;2026-12-13|Round 5|GT|..\\Spa;2026-12-20|Round 6|Touring|Monza",
            {"tarvmeet.txt:2"});
        row("Windows code page", kPacks, "2;2026-12-13|Round 5|GT|Spa;2026-12-20|Round 6|Touring|N\xFCrburgring",
            {"tarvmeet.txt:3"});
    }

    void eachSlipIsFlaggedOnItsLine() {
        QFETCH(QByteArray, packs);
        QFETCH(QByteArray, meetings);
        QFETCH(QStringList, flagged);
        const Run run = checkFolder(packs, meetings);
        QCOMPARE(run.flagged(), flagged);
        QCOMPARE(run.status, flagged.isEmpty() ? 0 : 1);
    }

    void theDemosSiteIsClean() {
        QFile meetings(":/site/tarvmeet.txt"), packs(":/site/tarvver.txt");
        QVERIFY(meetings.open(QIODevice::ReadOnly) && packs.open(QIODevice::ReadOnly));
        // The dates scripts/demo writes, a week before and after today and three weeks on.
        const QByteArray dated = meetings.readAll()
                                     .replace("@LASTWEEK@", "2026-11-29")
                                     .replace("@NEXTWEEK@", "2026-12-13")
                                     .replace("@INTHREEWEEKS@", "2026-12-27");
        const Run run = checkFolder(packs.readAll(), dated);
        QVERIFY2(run.status == 0 && run.err.isEmpty(), qPrintable(run.out + run.err));
    }

    // What the check shows as of the day is what the window shows a member with the meeting's pack up to date and
    // active, and its track, and with every listed pack installed as published.
    void membersSeeWhatTheWindowShows_data() {
        QTest::addColumn<QByteArray>("packs");
        QTest::addColumn<QByteArray>("meetings");
        QTest::addColumn<int>("active"); // the catalogue's row of the meeting's pack: GT, Touring
        const auto row = [](const char* tag, const QByteArray& packs, const QByteArray& meetings, int active) {
            QTest::newRow(tag) << file(packs) << file(meetings) << active;
        };
        row("clean", kPacks, kMeetings, 0);
        row("out of order", kPacks, "2;2026-12-20|Round 6|Touring|Monza;2026-12-13|Round 5|GT|Spa", 1);
        row("a track refused", kPacks, "1;2026-12-13|Round 5|GT|..\\Spa", 0);
        row("no meeting ahead", kPacks, "1;2026-11-29|Round 3|Touring|Monza", 1);
        row("a blank before the separator", "2;GT |2026-04-12;Touring|2026-05-01", kMeetings, 0);
    }

    void membersSeeWhatTheWindowShows() {
        QFETCH(QByteArray, packs);
        QFETCH(QByteArray, meetings);
        QFETCH(int, active);
        CarFolder cars;
        cars.addPack("GT", "GT Cars", "2026-04-12", {"gt.tex"});
        cars.addPack("Touring", "Touring Cars", "2026-05-01", {"tc.tex"});
        cars.write("../run/Spa.trk", "track");
        cars.write("../run/Monza.trk", "track");
        CannedSite site;
        site.files = {{"tarvver.txt", packs}, {"tarvmeet.txt", meetings}};
        StartedSession window(cars.host(), site);
        window.swap(active);
        window.session.checkPacks();
        window.session.checkMeeting();
        const leaguecheck::MembersSee shown = leaguecheck::membersSee(meetings, packs, QDate(2026, 12, 6));
        QCOMPARE(window.window.takeBoxes().mid(1),
                 (QStringList{"Pack Status | " + shown.packStatus, "Meeting Info | " + shown.meetingInfo}));
    }

    void checksTheLeagueSite_data() {
        QTest::addColumn<QString>("website"); // "http" or "https", a site of the test's own unless one is named
        QTest::addColumn<leagueserver::Mode>("mode");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said"); // the start of what the report or the errors say
        using leagueserver::Mode;
        QTest::newRow("http") << "http" << Mode::Normal << 0 << "Nothing flagged";
        QTest::newRow("http, not found") << "http" << Mode::NotFound << 2
                                         << "tarvok-league-check: tarvver.txt could "
                                            "not be fetched from http://127.0.0.1:";
        QTest::newRow("https") << qEnvironmentVariable("TARVOK_HTTPS_SITE", "https") << Mode::Normal << 2
                               << "tarvver.txt:2: \"12/04/2026\" reads as 12 April 2026";
        QTest::newRow("https, a stranger's certificate")
            << qEnvironmentVariable("TARVOK_HTTPS_STRANGER", "stranger") << Mode::Normal << 2
            << "tarvok-league-check: tarvver.txt could not be fetched from https://127.0.0.1:";
    }

    void checksTheLeagueSite() {
        QFETCH(QString, website);
        QFETCH(leagueserver::Mode, mode);
        QFETCH(QString, said);
        const leagueserver::TrustedSite trust;
        // Wine's TLS cannot serve, so under Wine the https sites are OpenSSL's, which scripts/windows starts; they
        // serve the pack list alone, and so does the test's own.
        const bool own = !website.contains("://"), https = website != "http";
        leagueserver::LeagueServer site(
            0, own && https ? leagueserver::siteTls(website == "https" ? leagueserver::Certificate::Site
                                                                       : leagueserver::Certificate::Stranger)
                            : QSslConfiguration());
        site.setMode(mode);
        site.publish("tarvver.txt", https ? QByteArray("1\r\nGT|12/04/2026\r\n") : file(kPacks));
        if (!https)
            site.publish("tarvmeet.txt", file(kMeetings));
        const Run run({"--url", own ? site.baseUrl() : website});
        QTEST(run.status, "status");
        QVERIFY2((run.out + run.err)
                     .contains(QRegularExpression("^" + QRegularExpression::escape(said),
                                                  QRegularExpression::MultilineOption)),
                 qPrintable(run.out + run.err));
    }
};

QTEST_GUILESS_MAIN(LeagueCheckTest)
#include "test_league_check.moc"
