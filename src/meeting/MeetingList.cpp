#include "meeting/MeetingList.h"

#include "league/Conversions.h"
#include "text/Lines.h"

namespace {

constexpr QChar kSeparator = QLatin1Char('|');

struct MeetingLine {
    QString date;
    QString name;
    QString pack;
    QString track;
};

// The track keeps any further separators; fields a short line lacks stay empty so two meetings never mix.
MeetingLine cutMeetingLine(const QString& line) {
    MeetingLine meeting;
    QString remaining = line;
    for (QString* field : {&meeting.date, &meeting.name, &meeting.pack}) {
        const qsizetype end = remaining.indexOf(kSeparator);
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

// A meeting dated today qualifies all day; a date that is not a date never does.
bool isNextMeeting(const DateValue& meetDate, const QDate& today) {
    return meetDate && *meetDate >= QDateTime(today, QTime(0, 0), Qt::UTC);
}

// Scans the list into the meeting fields line by line; true when a line qualified.
bool findNextMeeting(FormState& st, const QByteArray& list, const QDate& today) {
    const QStringList lines = text::linesOf(list);
    const std::optional<qint64> count = lines.isEmpty() ? std::nullopt : toWholeNumber(lines.first());
    for (qint64 counter = 1;; ++counter) {
        if (counter >= lines.size())
            return false;
        const MeetingLine meeting = cutMeetingLine(lines[counter]);
        st.strMeetDate = meeting.date;
        st.strMeetName = meeting.name;
        st.strMeetPack = meeting.pack;
        st.strMeetTrack = meeting.track;
        st.datMeetDate = toDate(st.strMeetDate);
        if (isNextMeeting(st.datMeetDate, today))
            return true;
        if (count && counter == *count)
            return false;
    }
}

} // namespace

void subReadMeetings(FormState& st, const Clock& clock, const std::optional<QByteArray>& list) {
    const bool found = list && findNextMeeting(st, *list, clock.today());

    if (!found) {
        st.strMessage += QStringLiteral("Sorry, I could not find any relevant meeting info.\r\n");
        st.intProblem = 1;
        return;
    }
    st.strMessage += QStringLiteral("The next meeting is the ") + st.strMeetName + QStringLiteral(" on ") +
                     st.strMeetDate + QStringLiteral(" at ") + st.strMeetTrack + QStringLiteral(" using the ") +
                     st.strMeetPack + QStringLiteral(" cars. \r\n");
}
