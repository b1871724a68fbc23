#include "meeting/MeetingList.h"

#include "fs/FileSystem.h"
#include "league/Conversions.h"

namespace {

const QString kMeetingList = QStringLiteral("tarvmeet.txt");
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
bool findNextMeeting(FormState& st, fs::TextReader& reader, const QDate& today) {
    const std::optional<QString> countLine = reader.readLine();
    const std::optional<qint64> count = countLine ? toWholeNumber(*countLine) : std::nullopt;
    for (qint64 counter = 1;; ++counter) {
        const std::optional<QString> line = reader.readLine();
        if (!line)
            return false;
        const MeetingLine meeting = cutMeetingLine(*line);
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

void subReadMeetings(FormState& st, const Clock& clock) {
    const fs::FileSystem fso(st.appPath);
    bool found = false;
    if (auto reader = fso.openAsTextStream(kMeetingList)) {
        found = findNextMeeting(st, *reader, clock.today());
        reader->close();
    }

    if (!found) {
        st.strMessage += QStringLiteral("Sorry, I could not find any relevant meeting info.\r\n");
        st.intProblem = 1;
        return;
    }
    st.strMessage += QStringLiteral("The next meeting is the ") + st.strMeetName + QStringLiteral(" on ") +
                     st.strMeetDate + QStringLiteral(" at ") + st.strMeetTrack + QStringLiteral(" using the ") +
                     st.strMeetPack + QStringLiteral(" cars. \r\n");
}
