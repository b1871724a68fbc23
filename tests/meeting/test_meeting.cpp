#include "meeting/MeetingCheck.h"
#include "meeting/Track.h"
#include "support/CarFolder.h"

#include <QTest>

namespace {

const QDate kToday(2026, 12, 6);

// A meeting date as the league writes it, days away from kToday.
QString day(qint64 offset) {
    return kToday.addDays(offset).toString(Qt::ISODate);
}

// A meeting line days away from kToday, for the pack P at the track T.
QString meet(qint64 offset, const char* name) {
    return day(offset) + '|' + QLatin1String(name) + QStringLiteral("|P|T");
}

QByteArray listFile(const QString& countLine, const QStringList& meetings) {
    return (QStringList{countLine} + meetings).join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
}

const QString kSentence = QStringLiteral("The next meeting is the Cup on 2026-12-13 at Spa using the GT cars. \r\n");
const QString kApology = QStringLiteral("Sorry, I could not find any relevant meeting info.\r\n");
const QString kOk = QStringLiteral("Everything appears to be OK for the next meeting.");
const QString kProblems = QStringLiteral("There seem to be problems which may stop you racing the next meeting.\r\n"
                                         "Please visit the Tarvok website to fix the problems.");

} // namespace

Q_DECLARE_METATYPE(MeetingReadiness)

class MeetingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom)); }

    void nextMeeting_data() {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("lastRead"); // its fields joined by "|"
        QTest::newRow("today, not yesterday")
            << listFile("2", {meet(-1, "Old"), meet(0, "Cup")}) << true << meet(0, "Cup");
        QTest::newRow("yesterday 23:59") << listFile("1", {day(-1) + " 23:59|Late|P|T"}) << false
                                         << day(-1) + " 23:59|Late|P|T";
        QTest::newRow("file order") << listFile("2", {meet(10, "Late"), meet(3, "Soon")}) << true << meet(10, "Late");
        QTest::newRow("last counted") << listFile("2", {meet(-2, "A"), meet(1, "In"), meet(5, "Out")}) << true
                                      << meet(1, "In");
        QTest::newRow("after the count") << listFile("1", {meet(-2, "Past"), meet(5, "Out")}) << false
                                         << meet(-2, "Past");
        QTest::newRow("count too large") << listFile("5", {meet(-2, "A"), meet(-1, "B")}) << false << meet(-1, "B");
        QTest::newRow("day first") << listFile("1", {"07/12/2026|Cup|P|T"}) << true << "07/12/2026|Cup|P|T";
        QTest::newRow("not a date") << listFile("1", {"soon|Cup|P|T"}) << false << "soon|Cup|P|T";
        QTest::newRow("untrimmed, track keeps |")
            << listFile("1", {day(0) + " | Cup | P |Spa|Night"}) << true << day(0) + " | Cup | P |Spa|Night";
        QTest::newRow("short line") << listFile("1", {day(0) + "|Short"}) << true << day(0) + "|Short||";
        QTest::newRow("empty list") << QByteArray() << false << "(none)";
    }

    void nextMeeting() {
        QFETCH(QByteArray, list);
        QFETCH(bool, found);
        QFETCH(QString, lastRead);
        const MeetingSearch search = findNextMeeting(text::readCountedList(list), kToday);
        QCOMPARE(search.found, found);
        const std::optional<MeetingLine>& line = search.lastRead;
        QCOMPARE((line ? QStringList{line->date, line->name, line->pack, line->track}.join('|') : "(none)"), lastRead);
    }

    void report_data() {
        QTest::addColumn<MeetingReadiness>("readiness");
        QTest::addColumn<QString>("report");
        const MeetingLine cup{day(7), "Cup", "GT", "Spa"};
        const QString upToDate = QStringLiteral("GT is up to date\r\n");
        const QString installed = QStringLiteral("The Spa track is installed\r\n");
        QTest::newRow("ready") << MeetingReadiness{cup, "GT", "Spa", Verdict::UpToDate, true, true}
                               << kSentence + upToDate + installed + kOk;
        QTest::newRow("track missing") << MeetingReadiness{cup, "GT", "Spa", Verdict::UpToDate, true, false}
                                       << kSentence + upToDate + "The Spa track is not installed\r\n" + kProblems;
        QTest::newRow("pack not installed is ready")
            << MeetingReadiness{cup, "GT", "Spa", Verdict::NotInstalled, true, true}
            << kSentence + "GT is not installed\r\n" + installed + kOk;
        QTest::newRow("pack not listed") << MeetingReadiness{cup, "GT", "Spa", std::nullopt, false, true}
                                         << kSentence + installed + kProblems;
        QTest::newRow("no meeting") << MeetingReadiness{std::nullopt, "GT", "Spa", Verdict::UpToDate, true, true}
                                    << kApology + upToDate + installed + kProblems;
        QTest::newRow("empty fields") << MeetingReadiness{std::nullopt, "", "", Verdict::NotInstalled, false, false}
                                      << kApology + " is not installed\r\nThe  track is not installed\r\n" + kProblems;
    }

    void report() {
        QFETCH(MeetingReadiness, readiness);
        QFETCH(QString, report);
        QCOMPARE(meetingReportText(readiness), report);
        QCOMPARE(hasProblem(readiness), report.endsWith(kProblems));
    }

    void trackFile_data() {
        QTest::addColumn<QString>("track");
        QTest::addColumn<bool>("installed");
        QTest::newRow("found") << "Spa" << true;
        QTest::newRow("a folder is no track") << "Monza" << false;
        QTest::newRow("leading blank kept") << " Zolder" << true;
        QTest::newRow("leading blank not dropped") << " Spa" << false;
        QTest::newRow("leaves the folder") << "../run/Spa" << false;
        QTest::newRow("backslash") << "..\\run\\Spa" << false;
        QTest::newRow("dot") << "." << false;
        QTest::newRow("empty") << "" << false;
#ifdef Q_OS_LINUX
        QTest::newRow("letter case counts") << "spa" << false;
#endif
    }

    void trackFile() {
        QFETCH(QString, track);
        QFETCH(bool, installed);
        const CarFolder cars;
        // Each wrong reading of a name would find one of these.
        for (const char* file : {"Spa.trk", " Zolder.trk", "..\\run\\Spa.trk", "..trk", ".trk"})
            cars.write(QStringLiteral("../run/") + QLatin1String(file), "track");
        cars.makeFolder(QStringLiteral("../run/Monza.trk"));
        QCOMPARE(isTrackInstalled(cars.host(), track), installed);
    }
};

QTEST_GUILESS_MAIN(MeetingTest)
#include "test_meeting.moc"
