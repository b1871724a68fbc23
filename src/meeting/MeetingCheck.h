#pragma once

#include "league/PackStatus.h"
#include "meeting/MeetingList.h"

#include <optional>

namespace meeting {

// What the meeting check found, step by step.
struct MeetingReadiness {
    std::optional<MeetingLine> nextMeeting; // nothing when no meeting qualified
    QString pack;                           // the pack and track of the meeting, or of the last line read
    QString track;
    std::optional<league::Verdict> packVerdict; // nothing when the pack's published date is not a date
    bool packListed = false;                    // in the pack version list with a published date
    bool packNotActive = false;                 // up to date, but its cars are not the ones the game races with
    bool trackInstalled = false;
};

// Whether the active cars are compared with the pack's: only for a meeting found whose pack is listed and up to
// date.
bool comparesActiveSet(const MeetingReadiness& readiness);

// Whether the member is ready: no meeting found, the pack not listed, not installed, out of date, with an invalid
// installed date or not the active set, or the track missing is a problem.
bool hasProblem(const MeetingReadiness& readiness);

// The "Meeting Info" box: the meeting, the pack's verdict, the track, then the verdict on the whole.
QString meetingReportText(const MeetingReadiness& readiness);

// The question after the report when the meeting's pack is up to date but not the active set.
QString swapOfferText(const MeetingLine& meeting);

} // namespace meeting
