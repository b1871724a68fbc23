#include "league/NetworkFetch.h"
#include "meeting/MeetingCheck.h"
#include "support/CarFolder.h"
#include "support/LeagueSite.h"
#include "support/RecordingPorts.h"
#include "support/TestMain.h"

#include <QTest>

#include <chrono>

namespace {

const QDate kToday(2026, 12, 6);
const QString kNextWeek = kToday.addDays(7).toString(Qt::ISODate);
const QString kLastWeek = kToday.addDays(-7).toString(Qt::ISODate);
const QString kRelease = QStringLiteral("12/04/2026");

const QString kOk = QStringLiteral("Everything appears to be OK for the next meeting.");
const QString kProblems = QStringLiteral("There seem to be problems which may stop you racing the next meeting.\r\n"
                                         "Please visit the Tarvok website to fix the problems.");
const QString kWinterCup = "The next meeting is the Winter Cup on " + kNextWeek + " at Spa using the GT cars. \r\n";

QByteArray listFile(const QStringList& lines) {
    return (QString::number(lines.size()) + "\r\n" + lines.join(QStringLiteral("\r\n")) + "\r\n").toUtf8();
}

// A member's car folder and the league's web site, with the window state that lives across presses.
struct MeetingDay {
    MeetingDay() {
        st.appPath = fs::fromQt(cars.path());
        st.strWebsite = site.baseUrl();
    }

    // Presses Check Meeting once; every box it showed, as its title, a line feed and its prompt.
    QStringList press() {
        const qsizetype before = ui.msgBox.shown.size();
        subCheckMeetings(st, ui.ports);
        QStringList boxes;
        for (qsizetype i = before; i < ui.msgBox.shown.size(); ++i)
            boxes.append(ui.msgBox.shown[i].title + '\n' + ui.msgBox.shown[i].prompt);
        return boxes;
    }

    CarFolder cars;
    LeagueSite site;
    NetworkFetch network{std::chrono::seconds(5)};
    RecordingPorts ui{&network, kToday};
    FormState st;
};

QStringList meetingInfo(const QString& report) {
    return {"Meeting Info\n" + report};
}

} // namespace

class MeetingCheckTest : public QObject {
    Q_OBJECT

private slots:
    void reportsReadiness_data() {
        QTest::addColumn<QString>("meeting");
        QTest::addColumn<QString>("listedPack");    // the pack tarvver.txt lists
        QTest::addColumn<QString>("installedDate"); // of the GT folder; empty: not installed
        QTest::addColumn<QString>("trackFile");     // in the run folder; empty: none
        QTest::addColumn<QString>("report");

        const QString winterCup = kNextWeek + "|Winter Cup|GT|Spa";
        QTest::newRow("everything found") << winterCup << "GT" << kRelease << "Spa.trk"
                                          << kWinterCup + "GT is up to date\r\nThe Spa track is installed\r\n" + kOk;
        QTest::newRow("track missing") << winterCup << "GT" << kRelease << ""
                                       << kWinterCup + "GT is up to date\r\nThe Spa track is not installed\r\n" +
                                              kProblems;
        QTest::newRow("track looked for as the list spells it")
            << kNextWeek + "|Winter Cup|GT| Spa"
            << "GT" << kRelease << "Spa.trk"
            << "The next meeting is the Winter Cup on " + kNextWeek +
                   " at  Spa using the GT cars. \r\nGT is up to date\r\nThe  Spa track is not installed\r\n" +
                   kProblems;
        QTest::newRow("pack listed but not installed is still OK")
            << winterCup << "GT"
            << ""
            << "Spa.trk" << kWinterCup + "GT is not installed\r\nThe Spa track is installed\r\n" + kOk;
        QTest::newRow("pack out of date is still OK")
            << winterCup << "GT"
            << "11/04/2026"
            << "Spa.trk" << kWinterCup + "GT is out of date\r\nThe Spa track is installed\r\n" + kOk;
        QTest::newRow("pack not in the version list")
            << winterCup << "Touring" << kRelease << "Spa.trk"
            << kWinterCup + "GT is up to date\r\nThe Spa track is installed\r\n" + kProblems;
        QTest::newRow("no meeting ahead: the last line read is checked")
            << kLastWeek + "|Autumn Sprint|Touring|Monza"
            << "GT" << kRelease << "Spa.trk"
            << "Sorry, I could not find any relevant meeting info.\r\nTouring is not installed\r\n"
               "The Monza track is not installed\r\n" +
                   kProblems;
    }

    void reportsReadiness() {
        QFETCH(QString, meeting);
        QFETCH(QString, listedPack);
        QFETCH(QString, installedDate);
        QFETCH(QString, trackFile);
        QFETCH(QString, report);

        MeetingDay day;
        day.site.publish(QStringLiteral("tarvmeet.txt"), listFile({meeting}));
        day.site.publish(QStringLiteral("tarvver.txt"), listFile({listedPack + '|' + kRelease}));
        if (!installedDate.isEmpty())
            day.cars.addPack(QStringLiteral("GT"), QStringLiteral("GT Cars"), installedDate);
        if (!trackFile.isEmpty())
            day.cars.write("../run/" + trackFile, "track");

        QCOMPARE(day.press(), meetingInfo(report));
        QCOMPARE(day.st.strMessage, report);
    }

    void firstCheckWithoutServerReportsEmptyFields() {
        MeetingDay day;
        day.st.strWebsite = [] { return LeagueSite().baseUrl(); }(); // a site that has since closed
        QCOMPARE(day.press(), meetingInfo("Sorry, I could not find any relevant meeting info.\r\n is not installed\r\n"
                                          "The  track is not installed\r\n" +
                                          kProblems));
    }

    void problemFixedBetweenChecksGivesOk() {
        MeetingDay day;
        day.site.publish(QStringLiteral("tarvmeet.txt"), listFile({kNextWeek + "|Winter Cup|GT|Spa"}));
        day.site.publish(QStringLiteral("tarvver.txt"), listFile({"GT|" + kRelease}));
        day.cars.addPack(QStringLiteral("GT"), QStringLiteral("GT Cars"), kRelease);
        QCOMPARE(day.press(),
                 meetingInfo(kWinterCup + "GT is up to date\r\nThe Spa track is not installed\r\n" + kProblems));

        day.cars.write(QStringLiteral("../run/Spa.trk"), "track");
        QCOMPARE(day.press(), meetingInfo(kWinterCup + "GT is up to date\r\nThe Spa track is installed\r\n" + kOk));
        QCOMPARE(day.st.intProblem, 0);
    }

    void listGoneAtALaterCheckKeepsTheEarlierMeeting() {
        MeetingDay day;
        day.site.publish(QStringLiteral("tarvmeet.txt"), listFile({kNextWeek + "|Winter Cup|GT|Spa"}));
        day.site.publish(QStringLiteral("tarvver.txt"), listFile({"GT|" + kRelease}));
        day.cars.addPack(QStringLiteral("GT"), QStringLiteral("GT Cars"), kRelease);
        day.cars.write(QStringLiteral("../run/Spa.trk"), "track");
        QCOMPARE(day.press(), meetingInfo(kWinterCup + "GT is up to date\r\nThe Spa track is installed\r\n" + kOk));

        day.site.withdraw(QStringLiteral("tarvmeet.txt"));
        QCOMPARE(day.press(), meetingInfo("Sorry, I could not find any relevant meeting info.\r\n"
                                          "GT is up to date\r\nThe Spa track is installed\r\n" +
                                          kProblems));
    }

    void anOddPackDateSpoilsOnlyItsOwnCheck() {
        MeetingDay day;
        day.site.publish(QStringLiteral("tarvmeet.txt"), listFile({kNextWeek + "|Winter Cup|GT|Spa"}));
        day.site.publish(QStringLiteral("tarvver.txt"), listFile({"GT|" + kRelease}));
        day.cars.addPack(QStringLiteral("GT"), QStringLiteral("GT Cars"), kRelease);
        day.cars.write(QStringLiteral("../run/Spa.trk"), "track");
        QCOMPARE(day.press(), meetingInfo(kWinterCup + "GT is up to date\r\nThe Spa track is installed\r\n" + kOk));

        day.site.publish(QStringLiteral("tarvver.txt"), listFile({"GT|TBA"}));
        QCOMPARE(day.press(), meetingInfo(kWinterCup + "The Spa track is installed\r\n" + kProblems));

        day.site.withdraw(QStringLiteral("tarvmeet.txt"));
        day.site.withdraw(QStringLiteral("tarvver.txt"));
        QCOMPARE(day.press(), meetingInfo("Sorry, I could not find any relevant meeting info.\r\n"
                                          "GT is up to date\r\nThe Spa track is installed\r\n" +
                                          kProblems));
    }
};

TARVOK_TEST(MeetingCheckTest)
#include "test_meeting_check.moc"
