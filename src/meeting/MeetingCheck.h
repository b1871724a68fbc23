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
    bool trackInstalled = false;
};

// Whether the member is ready: no meeting found, the pack not listed, not installed, out of date or with an
// invalid installed date, or the track missing is a problem.
bool hasProblem(const MeetingReadiness& readiness);

// The "Meeting Info" box: the meeting, the pack's verdict, the track, then the verdict on the whole.
QString meetingReportText(const MeetingReadiness& readiness);

} // namespace meeting
