#include "AsOf.h"

#include "carsets/InstalledPacks.h"
#include "fs/Path.h"
#include "league/PackStatus.h"
#include "meeting/MeetingCheck.h"
#include "meeting/Track.h"

namespace leaguecheck {

MembersSee membersSee(const QByteArray& meetings, const QByteArray& packs, const QDate& today) {
    // The member's copy of each pack the file gives, counted or not: its folder named as the pack is, without the
    // blanks a slip may have put around the name, and dated as its first entry with a date.
    const text::CountedList list = text::readCountedList(packs);
    carsets::InstalledPacks installed;
    for (const QString& line : list.lines) {
        const league::PackRelease release = league::packReleaseOf(line);
        const QString folder = release.pack.trimmed();
        if (const text::DateValue date = text::toDate(release.dateText);
            date && fs::singleName(folder) && !installed.contains(folder))
            installed.insert(folder, *date);
    }

    const meeting::MemberFolder member{
        [&](const QString& pack, const QDateTime& published) {
            // A pack the list does not give is up to date all the same: the member has the league's release.
            const bool found = fs::singleName(pack) && pack == pack.trimmed();
            return league::judgePack(
                found ? std::optional(carsets::installedRelease(installed, pack).value_or(published)) : std::nullopt,
                published);
        },
        [](const QString& track) { return track == track.trimmed() && meeting::trackFileName(track); }};
    // As at a member's first check after the start, with nothing kept from an earlier one.
    meeting::CheckMemory firstCheck;
    return {meeting::meetingReportText(meeting::readinessOf(meetings, packs, today, firstCheck, member)),
            league::packStatusText(league::judgePacks(league::listedReleases(list), installed))};
}

} // namespace leaguecheck
