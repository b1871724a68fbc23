#pragma once

#include "text/CountedList.h"

#include <QDate>
#include <QString>

#include <optional>

namespace meeting {

// One line of the league's meeting list, cut at "|" into its fields, none trimmed; the track keeps any
// further separators, and the fields a short line lacks are empty.
struct MeetingLine {
    QString date;
    QString name;
    QString pack;
    QString track;
};

MeetingLine meetingLineOf(const QString& line);

// The search for the next meeting: the first line in list order dated today or later (a date that is not
// a date never is). The pack and track steps that follow work on the last line read, found or not.
struct MeetingSearch {
    bool found = false;
    std::optional<MeetingLine> lastRead; // nothing when the list held no meeting line
};

MeetingSearch findNextMeeting(const text::CountedList& list, const QDate& today);

} // namespace meeting
