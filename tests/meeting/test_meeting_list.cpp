#include "league/Conversions.h"
#include "meeting/MeetingList.h"
#include "support/CarFolder.h"
#include "support/RecordingPorts.h"
#include "support/TestMain.h"

#include <QTest>

namespace {

const QDate kToday(2026, 12, 6);

// A meeting date written the way the league writes it, days away from the fixed today.
QString day(qint64 offset, const QString& time = {}) {
    const QString date = kToday.addDays(offset).toString(Qt::ISODate);
    return time.isEmpty() ? date : date + QLatin1Char(' ') + time;
}

QByteArray listFile(const QString& countLine, const QStringList& meetings) {
    return (QStringList{countLine} + meetings).join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
}

QString sentence(const QString& date, const QString& name, const QString& pack, const QString& track) {
    return "The next meeting is the " + name + " on " + date + " at " + track + " using the " + pack + " cars. \r\n";
}

const QString kApology = QStringLiteral("Sorry, I could not find any relevant meeting info.\r\n");

// What a previous check left in the meeting fields: a meeting a month away.
FormState afterEarlierCheck(const QString& appPath) {
    FormState st;
    st.appPath = fs::fromQt(appPath);
    st.strMeetDate = day(30);
    st.datMeetDate = toDate(st.strMeetDate);
    st.strMeetName = QStringLiteral("Old Cup");
    st.strMeetPack = QStringLiteral("OldPack");
    st.strMeetTrack = QStringLiteral("OldTrack");
    return st;
}

} // namespace

class MeetingListTest : public QObject {
    Q_OBJECT

private slots:
    void choosesTheNextMeeting_data() {
        QTest::addColumn<bool>("listPresent");
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("fields"); // date, name, pack, track afterwards
        QTest::addColumn<int>("problem");

        const QStringList earlier{day(30), "Old Cup", "OldPack", "OldTrack"};
        QTest::newRow("today chosen, yesterday not")
            << true << listFile("2", {day(-1) + "|Autumn Sprint|OldGT|Monza", day(0) + "|Winter Cup|GT|Spa"})
            << sentence(day(0), "Winter Cup", "GT", "Spa") << QStringList{day(0), "Winter Cup", "GT", "Spa"} << 0;
        QTest::newRow("yesterday late evening is past")
            << true << listFile("1", {day(-1, "23:59") + "|Late|P|T"}) << kApology
            << QStringList{day(-1, "23:59"), "Late", "P", "T"} << 1;
        QTest::newRow("first qualifying line in file order, not the earliest")
            << true << listFile("2", {day(10) + "|Later|GT|Spa", day(3) + "|Sooner|GT|Zolder"})
            << sentence(day(10), "Later", "GT", "Spa") << QStringList{day(10), "Later", "GT", "Spa"} << 0;
        QTest::newRow("last counted line chosen")
            << true << listFile("2", {day(-2) + "|A|P|T", day(1) + "|Counted|P|T", day(5) + "|Uncounted|P|T"})
            << sentence(day(1), "Counted", "P", "T") << QStringList{day(1), "Counted", "P", "T"} << 0;
        QTest::newRow("lines after the count never read")
            << true << listFile("1", {day(-2) + "|Past|PastPack|PastTrack", day(5) + "|Uncounted|P|T"}) << kApology
            << QStringList{day(-2), "Past", "PastPack", "PastTrack"} << 1;
        QTest::newRow("fraction of the count dropped")
            << true << listFile("2.9", {day(-2) + "|A|P|T", day(-1) + "|B|PB|TB", day(5) + "|C|P|T"}) << kApology
            << QStringList{day(-1), "B", "PB", "TB"} << 1;
        QTest::newRow("count beyond the end of the file")
            << true << listFile("5", {day(-2) + "|A|P|T", day(-1) + "|B|PB|TB"}) << kApology
            << QStringList{day(-1), "B", "PB", "TB"} << 1;
        QTest::newRow("count not a number read to the first qualifying line")
            << true << listFile("many", {day(-1) + "|A|P|T", day(2) + "|Found|GT|Spa"})
            << sentence(day(2), "Found", "GT", "Spa") << QStringList{day(2), "Found", "GT", "Spa"} << 0;
        QTest::newRow("blanks kept in every field") << true << listFile("1", {day(0) + " | Winter Cup | GT | Spa "})
                                                    << sentence(day(0) + " ", " Winter Cup ", " GT ", " Spa ")
                                                    << QStringList{day(0) + " ", " Winter Cup ", " GT ", " Spa "} << 0;
        QTest::newRow("separator inside the track")
            << true << listFile("1", {day(0) + "|Cup|GT|Spa|Night"}) << sentence(day(0), "Cup", "GT", "Spa|Night")
            << QStringList{day(0), "Cup", "GT", "Spa|Night"} << 0;
        QTest::newRow("short line leaves its missing fields empty")
            << true << listFile("2", {day(-1) + "|Full|FullPack|FullTrack", day(0) + "|Short"})
            << sentence(day(0), "Short", "", "") << QStringList{day(0), "Short", "", ""} << 0;
        QTest::newRow("date that is not a date never qualifies")
            << true << listFile("1", {"soon|Cup|GT|Spa"}) << kApology << QStringList{"soon", "Cup", "GT", "Spa"} << 1;
        QTest::newRow("error page at a later check")
            << true << QByteArray("<html>\r\n<body>Not Found</body>\r\n</html>") << kApology
            << QStringList{"</html>", "", "", ""} << 1;
        QTest::newRow("empty list keeps the earlier fields") << true << QByteArray() << kApology << earlier << 1;
        QTest::newRow("missing list keeps the earlier fields") << false << QByteArray() << kApology << earlier << 1;
    }

    void choosesTheNextMeeting() {
        QFETCH(bool, listPresent);
        QFETCH(QByteArray, list);
        QFETCH(QString, message);
        QFETCH(QStringList, fields);
        QFETCH(int, problem);

        CarFolder cars;
        if (listPresent)
            cars.write(QStringLiteral("tarvmeet.txt"), list);
        FormState st = afterEarlierCheck(cars.path());
        subReadMeetings(st, FixedClock(kToday), listPresent ? std::optional(list) : std::nullopt);

        QCOMPARE(st.strMessage, message);
        QCOMPARE((QStringList{st.strMeetDate, st.strMeetName, st.strMeetPack, st.strMeetTrack}), fields);
        QCOMPARE(st.intProblem, problem);
    }
};

TARVOK_TEST(MeetingListTest)
#include "test_meeting_list.moc"
