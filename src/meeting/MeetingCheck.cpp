#include "meeting/MeetingCheck.h"

namespace meeting {

MeetingReadiness readinessOf(const QByteArray& meetings, const QByteArray& packs, const QDate& today,
                             CheckMemory& memory, const MemberFolder& folder) {
    const MeetingSearch search = findNextMeeting(text::readCountedList(meetings), today);
    if (search.lastRead)
        memory.meeting = search.lastRead;
    const MeetingLine meeting = memory.meeting.value_or(MeetingLine{});
    const league::PackLookup lookup = league::lookUpPack(text::readCountedList(packs), meeting.pack);
    // "Not a date" belongs to this check alone; later ones go on with the last real date.
    const text::DateValue published = lookup.examinedAny ? lookup.lastDate : memory.published;
    if (lookup.lastRealDate)
        memory.published = *lookup.lastRealDate;

    MeetingReadiness readiness;
    if (search.found)
        readiness.nextMeeting = meeting;
    readiness.pack = meeting.pack;
    readiness.track = meeting.track;
    readiness.packListed = lookup.found && lookup.lastDate;
    if (published)
        readiness.packVerdict = folder.judgePack(meeting.pack, *published);
    readiness.trackInstalled = folder.hasTrack(meeting.track);
    return readiness;
}

bool comparesActiveSet(const MeetingReadiness& readiness) {
    return readiness.nextMeeting && readiness.packListed && readiness.packVerdict == league::Verdict::UpToDate;
}

bool hasProblem(const MeetingReadiness& readiness) {
    return !readiness.nextMeeting || !readiness.packListed || !readiness.trackInstalled || readiness.packNotActive ||
           (readiness.packVerdict && *readiness.packVerdict != league::Verdict::UpToDate);
}

QString meetingReportText(const MeetingReadiness& readiness) {
    QString text;
    if (const std::optional<MeetingLine>& meeting = readiness.nextMeeting)
        text += QStringLiteral("The next meeting is the ") + meeting->name + QStringLiteral(" on ") + meeting->date +
                QStringLiteral(" at ") + meeting->track + QStringLiteral(" using the ") + meeting->pack +
                QStringLiteral(" cars. \r\n");
    else
        text += QStringLiteral("Sorry, I could not find any relevant meeting info.\r\n");
    if (readiness.packVerdict)
        text += league::verdictLine(readiness.pack, *readiness.packVerdict);
    if (readiness.packNotActive)
        text += readiness.pack + QStringLiteral(" is not the active car set\r\n");
    text += QStringLiteral("The ") + readiness.track +
            (readiness.trackInstalled ? QStringLiteral(" track is installed\r\n")
                                      : QStringLiteral(" track is not installed\r\n"));
    if (hasProblem(readiness))
        return text + QStringLiteral("There seem to be problems which may stop you racing the next meeting.\r\n"
                                     "Please visit the Tarvok website to fix the problems.");
    return text + QStringLiteral("Everything appears to be OK for the next meeting.");
}

QString swapOfferText(const MeetingLine& meeting) {
    return QStringLiteral("Swap the ") + meeting.pack + QStringLiteral(" cars in now, ready for the ") + meeting.name +
           QLatin1Char('?');
}

} // namespace meeting
