#include "meeting/MeetingCheck.h"

#include "support/Texts.h"

#include <QTest>

using namespace league;
using namespace meeting;

namespace {

const QString kSentence = "The next meeting is the Cup on 2026-12-13 at Spa using the GT cars. \r\n";
const QString kReady = "The Spa track is installed\r\n";

} // namespace

Q_DECLARE_METATYPE(MeetingReadiness)

class MeetingTest : public QObject {
    Q_OBJECT

private slots:

    void nextMeeting_data() {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QString>("lastRead"); // its fields joined by "|", then "found" or not
        QTest::newRow("today, not yesterday")
            << QByteArray("2\n2026-12-05|Old|P|T\n2026-12-06|Cup|P|T") << "2026-12-06|Cup|P|T found";
        QTest::newRow("the first in file order")
            << QByteArray("2\n2026-12-16|Late|P|T\n2026-12-09|Soon|P|T") << "2026-12-16|Late|P|T found";
        QTest::newRow("the last counted")
            << QByteArray("2\n1/1/2000|A|P|T\n07/12/2026|In|P|T\n2026-12-11|Out|P|T") << "07/12/2026|In|P|T found";
        QTest::newRow("none counted ahead")
            << QByteArray("1\n1/1/2000|Past|P|T\n2026-12-11|Out|P|T") << "1/1/2000|Past|P|T";
        QTest::newRow("not a date") << QByteArray("x\nsoon|Cup|P|T") << "soon|Cup|P|T";
        QTest::newRow("untrimmed, the track keeps |")
            << QByteArray("1\n2026-12-06 | Cup | P |Spa|Night") << "2026-12-06 | Cup | P |Spa|Night found";
        QTest::newRow("an empty first field") << QByteArray("1\n|Cup|P|T") << "|Cup|P|T";
        QTest::newRow("a short line") << QByteArray("1\n2026-12-06|Short") << "2026-12-06|Short|| found";
        QTest::newRow("no meeting line") << QByteArray("1\n") << "";
    }

    void nextMeeting() {
        QFETCH(QByteArray, list);
        const MeetingSearch search = findNextMeeting(text::readCountedList(list), QDate(2026, 12, 6));
        const MeetingLine line = search.lastRead.value_or(MeetingLine{});
        QTEST(QStringList({line.date, line.name, line.pack, line.track})
                      .join('|')
                      .remove(QRegularExpression("^\\|\\|\\|$")) +
                  (search.found ? " found" : ""),
              "lastRead");
    }

    void report_data() {
        QTest::addColumn<MeetingReadiness>("readiness");
        QTest::addColumn<QString>("report");
        const MeetingLine cup{"2026-12-13", "Cup", "GT", "Spa"};
        QTest::newRow("pack not listed") << MeetingReadiness{cup, "GT", "Spa", std::nullopt, false, true}
                                         << kSentence + kReady + kProblems;
    }

    void report() {
        QFETCH(MeetingReadiness, readiness);
        QFETCH(QString, report);
        QCOMPARE(meetingReportText(readiness), report);
        QCOMPARE(hasProblem(readiness), report.endsWith(kProblems));
    }
};

QTEST_GUILESS_MAIN(MeetingTest)
#include "test_meeting.moc"
