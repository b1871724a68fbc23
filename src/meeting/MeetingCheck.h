#pragma once

#include "league/PackStatus.h"
#include "meeting/MeetingList.h"
#include "text/Conversions.h"

#include <functional>
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

// What one check leaves for the next, to stand in where a list gives nothing, so a member offline still sees what to
// look at: the last meeting line read, and the last published date that was a date.
struct CheckMemory {
    std::optional<MeetingLine> meeting;
    QDateTime published = text::zeroDate();
};

// How the member's game folder answers the check: the verdict on its copy of a pack against the published date, and
// whether it holds a track.
struct MemberFolder {
    std::function<league::Verdict(const QString& pack, const QDateTime& published)> judgePack;
    std::function<bool(const QString& track)> hasTrack;
};

// The readiness that the league's two lists (empty where a fetch failed) give as of today, before the active cars are
// compared: the next meeting, or else the last line read, whose pack and track are checked all the same.
MeetingReadiness readinessOf(const QByteArray& meetings, const QByteArray& packs, const QDate& today,
                             CheckMemory& memory, const MemberFolder& folder);

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
