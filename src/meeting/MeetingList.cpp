#include "meeting/MeetingList.h"

#include "league/LeagueFile.h"
#include "meeting/Log.h"
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
    const QStringList searched = list.searched();
    for (qsizetype entry = 0; entry < searched.size(); ++entry) {
        search.lastRead = meetingLineOf(searched[entry]);
        // A meeting dated today qualifies all day.
        const text::DateValue date = text::readDate(search.lastRead->date, {meetingLog(), league::kMeetingList},
                                                    text::CountedList::lineNumber(entry));
        if (date && *date >= startOfToday) {
            search.found = true;
            break;
        }
    }
    return search;
}

} // namespace meeting
