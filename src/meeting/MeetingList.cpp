#include "meeting/MeetingList.h"

#include "text/Conversions.h"

namespace meeting {

MeetingLine meetingLineOf(const QString& line) {
    MeetingLine meeting;
    QString remaining = line;
    for (QString* field : {&meeting.date, &meeting.name, &meeting.pack}) {
        const qsizetype end = remaining.indexOf(QLatin1Char('|'));
        if (end < 0) {
            *field = remaining;
            return meeting;
        }
        *field = remaining.left(end);
        remaining = remaining.mid(end + 1);
    }
    meeting.track = remaining;
    return meeting;
}

MeetingSearch findNextMeeting(const text::CountedList& list, const QDate& today) {
    MeetingSearch search;
    const QDateTime startOfToday(today, QTime(0, 0), Qt::UTC);
    for (const QString& line : list.searched()) {
        search.lastRead = meetingLineOf(line);
        // A meeting dated today qualifies all day.
        const text::DateValue date = text::toDate(search.lastRead->date);
        if (date && *date >= startOfToday) {
            search.found = true;
            break;
        }
    }
    return search;
}

} // namespace meeting
