// The league's lists, tarvver.txt and tarvmeet.txt, as its web site serves them, through every reader of either, and
// through the league check's report.
#include "AsOf.h"
#include "league/PackStatus.h"
#include "Lists.h"
#include "meeting/MeetingList.h"
#include "text/Lines.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// The check's report on a list: a line for the count line and for each line after it that it shows, numbered in the
// file's order from 1, never past the file's last line; each with what the manager reads, and no slip without words.
bool reportsEachLine(const leaguecheck::CheckedFile& checked, const QByteArray& bytes) {
    const qsizetype lines = std::max<qsizetype>(1, text::linesOf(bytes).size());
    for (qsizetype at = 0; at < checked.lines.size(); ++at) {
        const leaguecheck::CheckedLine& line = checked.lines[at];
        if (line.number != at + 1 || line.number > lines || line.reads.isEmpty() || line.slips.contains(QString()))
            return false;
    }
    return !checked.lines.isEmpty();
}

} // namespace

// Texts that are not dates are much of what the fuzzer feeds; logging each would only slow it.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    QLoggingCategory::setFilterRules(QStringLiteral("tarvok.*=false"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QLatin1String lineEnd("\r\n");
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const text::CountedList list = text::readCountedList(bytes);
    const QList<league::PackRelease> releases = league::listedReleases(list);
    const QString status = league::packStatusText(league::judgePacks(releases, carsets::InstalledPacks()));
    // A listing line per entry; with nothing installed, at most one "not installed" line per entry.
    if (league::packListingText(releases).count(lineEnd) != releases.size() ||
        status.count(lineEnd) > releases.size() ||
        status.count(QLatin1String(" is not installed\r\n")) != status.count(lineEnd))
        std::abort();
    if (!releases.isEmpty() && !league::lookUpPack(list, releases.first().pack).found)
        std::abort();
    const league::PackLookup lookup = league::lookUpPack(list, "GT");
    if ((lookup.found && !lookup.examinedAny) || (lookup.lastDate && !lookup.lastRealDate))
        std::abort();
    const QDate today(2026, 12, 6);
    const meeting::MeetingSearch search = meeting::findNextMeeting(list, today);
    if (search.found && !search.lastRead)
        std::abort();
    for (const QString& line : list.lines) {
        const meeting::MeetingLine fields = meeting::meetingLineOf(line);
        // Cutting a line into its fields drops nothing but separators.
        if (QString(fields.date + fields.name + fields.pack + fields.track).remove(u'|') != QString(line).remove(u'|'))
            std::abort();
    }
    // The same bytes as either list of the league check, and as both for what members are shown: the meeting box
    // always ends in one of its two verdicts.
    if (!reportsEachLine(leaguecheck::checkPackList(bytes), bytes) ||
        !reportsEachLine(leaguecheck::checkMeetingList(bytes, bytes, today), bytes))
        std::abort();
    const QString meetingInfo = leaguecheck::membersSee(bytes, bytes, today).meetingInfo;
    if (!meetingInfo.endsWith(QLatin1String("Everything appears to be OK for the next meeting.")) &&
        !meetingInfo.endsWith(QLatin1String("Please visit the Tarvok website to fix the problems.")))
        std::abort();
    return 0;
}
