#include "meeting/MeetingList.h"

#include <QtTest>

using namespace meeting;

class MeetingTest : public QObject {
    Q_OBJECT

private slots:
    void nextMeeting_data() {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QStringList>("lastRead"); // date, name, pack, track; none when no line was read
        const auto row = [](const char* tag, const char* list, bool found, const QStringList& lastRead) {
            QTest::newRow(tag) << QByteArray(list) << found << lastRead;
        };
        row("today, not yesterday", "2\n2026-12-05|Old|P|T\n2026-12-06|Cup|P|T", true, {"2026-12-06", "Cup", "P", "T"});
        row("file order", "2\n2026-12-16|Late|P|T\n2026-12-09|Soon|P|T", true, {"2026-12-16", "Late", "P", "T"});
        row("the last counted", "2\n1/1/2000|A|P|T\n07/12/2026|In|P|T\n2026-12-11|Out|P|T", true,
            {"07/12/2026", "In", "P", "T"});
        row("none counted ahead", "1\n1/1/2000|Past|P|T\n2026-12-11|Out|P|T", false, {"1/1/2000", "Past", "P", "T"});
        row("not a date", "x\nsoon|Cup|P|T", false, {"soon", "Cup", "P", "T"});
        row("untrimmed", "1\n2026-12-06 | Cup | P |Spa|Night", true, {"2026-12-06 ", " Cup ", " P ", "Spa|Night"});
        row("a short line", "1\n2026-12-06|Short", true, {"2026-12-06", "Short", "", ""});
        row("no meeting line", "1\n", false, {});
    }

    void nextMeeting() {
        QFETCH(QByteArray, list);
        const MeetingSearch search = findNextMeeting(text::readCountedList(list), QDate(2026, 12, 6));
        QTEST(search.found, "found");
        const std::optional<MeetingLine>& line = search.lastRead;
        QTEST((line ? QStringList{line->date, line->name, line->pack, line->track} : QStringList()), "lastRead");
    }
};

QTEST_GUILESS_MAIN(MeetingTest)
#include "test_meeting.moc"
