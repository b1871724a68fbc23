#include "AsOf.h"
#include "Command.h"
#include "fs/FileSystem.h"
#include "LeagueServer.h"
#include "support/Texts.h"

#include <QtTest>

class LeagueCheckTest : public QObject {
    Q_OBJECT

private slots:
    // Each row a folder with the two lists, one slip in them; "said" holds each list the check could not read ("no
    // tarvmeet.txt"), then the place of each flag, "v3" for tarvver.txt:3 and "m3" for tarvmeet.txt:3.
    void flagsEachSlipOnItsLine_data() {
        QTest::addColumn<QByteArray>("packs");
        QTest::addColumn<QByteArray>("meetings");
        QTest::addColumn<QStringList>("said");
        const auto row = [](const char* tag, QByteArray packs, QByteArray meetings, QStringList said) {
            QTest::newRow(tag) << file(packs) << file(meetings) << said;
        };
        row("clean", kPacks, kMeetings, {});
        row("past the count", "1;GT|2026-04-12;Touring|2026-05-01", kMeetings, {"v1", "v3", "m3"});
        row("entries missing", "3;GT|2026-04-12;Touring|2026-05-01", kMeetings, {"v1"});
        row("no list", kPacks, nullptr, {"no tarvmeet.txt"});
        row("a byte order mark", "\xEF\xBB\xBF" + kPacks, kMeetings, {"v1"});
        row("Windows code page", kPacks, "2;2026-12-13|Round 5|GT|Spa;2026-12-20|Round 6|GT|N\xFCrburgring", {"m3"});
        row("a blank before |", "2;GT |2026-04-12;Touring|2026-05-01", kMeetings, {"v2", "m2"});
        row("listed twice", "3;GT|2026-04-12;Touring|2026-05-01;gt|2026-04-13", kMeetings, {"v4"});
        row("a name refused", "3;GT|2026-04-12;Touring|2026-05-01;..\\Rally|2026-05-01", kMeetings, {"v4"});
        row("no date", "2;GT|TBA;Touring|2026-05-01", kMeetings, {"v2"});
        row("day or month first", "2;GT|05/04/2026;Touring|2026-05-01", kMeetings, {"v2"});
        row("a field too few", kPacks, "2;2026-12-13|Round 5|GT;2026-12-20|Round 6|Touring|Monza", {"m2"});
        row("a pack not listed", kPacks, "2;2026-12-13|Round 5|Rally|Spa;2026-12-20|Round 6|Touring|Monza", {"m2"});
        row("out of order", kPacks, "2;2026-12-20|Round 6|Touring|Monza;2026-12-13|Round 5|GT|Spa", {"m3"});
        row("no meeting ahead", kPacks, "2;2026-11-29|Round 3|GT|Spa;2026-12-05|Round 4|Touring|Monza", {"m1"});
        row("a track refused", kPacks, "1;2026-12-13|Round 5|GT|..\\Spa", {"m2"});
        QFile packs(":/site/tarvver.txt"), meetings(":/site/tarvmeet.txt");
        QVERIFY(packs.open(QIODevice::ReadOnly) && meetings.open(QIODevice::ReadOnly));
        // With the dates scripts/demo writes: a week before and after today, and three weeks on.
        QByteArray dated = meetings.readAll().replace("@LASTWEEK@", "2026-11-29").replace("@NEXTWEEK@", "2026-12-13");
        QTest::newRow("the demo") << packs.readAll() << dated.replace("@INTHREEWEEKS@", "2026-12-27") << QStringList();
    }

    void flagsEachSlipOnItsLine() {
        QFETCH(QByteArray, packs);
        QFETCH(QByteArray, meetings);
        QFETCH(QStringList, said);
        QTemporaryDir folder;
        for (const auto& [name, bytes] : {std::pair("/tarvver.txt", packs), {"/tarvmeet.txt", meetings}})
            QVERIFY(bytes.isNull() || fs::writeWhole(fs::fromQt(folder.path() + name), bytes).ok());
        const char* exit = said.isEmpty() ? "exit 0" : said[0].startsWith("no ") ? "exit 2" : "exit 1";
        QCOMPARE(check({folder.path()}), QStringList{exit} + said);
    }

    // A fetch that fails is a list the check could not read.
    void checksTheLeagueSite() {
        leagueserver::LeagueServer site;
        site.publish("tarvver.txt", file("1;GT|12/04/2026"));
        QCOMPARE(check({"--url", site.baseUrl()}), (QStringList{"exit 2", "no tarvmeet.txt", "v2"}));
    }

    // A member with each pack installed as listed, whose folders bear no blanks, is judged against the first entry
    // that the manager matches: here the third, not the first, which has a blank.
    void showsWhatAMemberWithThePacksSees() {
        const QByteArray packs = file("3;GT |2026-04-12;Touring|2026-05-01;gt|2026-04-13");
        const leaguecheck::MembersSee seen = leaguecheck::membersSee(file(kMeetings), packs, QDate(2026, 12, 6));
        QCOMPARE(seen.packStatus, "GT  is not installed\r\nTouring is up to date\r\ngt is up to date\r\n");
        QCOMPARE(seen.meetingInfo.section("\r\n", 1),
                 "GT is out of date\r\nThe Spa track is installed\r\n" + kProblems);
    }

private:
    static inline const QByteArray kPacks = "2;GT|2026-04-12;Touring|2026-05-01";
    static inline const QByteArray kMeetings = "2;2026-12-13|Round 5|GT|Spa;2026-12-20|Round 6|Touring|Monza";

    // A league file from its lines joined by ";"; nothing stays nothing.
    static QByteArray file(QByteArray lines) { return lines.isEmpty() ? lines : lines.replace(';', "\r\n") + "\r\n"; }

    // The check as of 6 December 2026: its exit status, each list it could not read, then where each flag is.
    static QStringList check(const QStringList& where) {
        QString out, err;
        QTextStream o(&out), e(&err);
        QStringList said{"exit " +
                         QString::number(leaguecheck::runCheck(QStringList{"", "--today=2026-12-06"} + where, o, e))};
        for (const QString& line : err.split('\n', Qt::SkipEmptyParts))
            said.append("no " + line.section(' ', 1, 1));
        static const QRegularExpression flag("^tarv(v|m)\\w*\\.txt:([0-9]+): ", QRegularExpression::MultilineOption);
        for (auto match = flag.globalMatch(out); match.hasNext(); match.next())
            said.append(match.peekNext().captured(1) + match.peekNext().captured(2));
        return said;
    }
};

QTEST_GUILESS_MAIN(LeagueCheckTest)
#include "test_league_check.moc"
