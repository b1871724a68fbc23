#include "AsOf.h"

#include "carsets/InstalledPacks.h"
#include "fs/Path.h"
#include "league/PackStatus.h"
#include "meeting/MeetingCheck.h"
#include "meeting/Track.h"

namespace leaguecheck {

MembersSee membersSee(const QByteArray& meetings, const QByteArray& packs, const QDate& today) {
    // The member's copy of each listed pack: its folder named as the pack is, without the blanks a slip may have put
    // around the name in the list, and dated as its first entry with a date.
    const QList<league::PackRelease> releases = league::listedReleases(text::readCountedList(packs));
    carsets::InstalledPacks installed;
    for (const league::PackRelease& release : releases)
        if (const text::DateValue date = text::toDate(release.dateText);
            date && fs::singleName(release.pack.trimmed()) && !installed.contains(release.pack.trimmed()))
            installed.insert(release.pack.trimmed(), *date);

    const meeting::MemberFolder member{
        [&](const QString& pack, const QDateTime& published) {
            // A pack the list does not give is up to date all the same: the member has the league's release.
            const bool found = fs::singleName(pack) && pack == pack.trimmed();
            return league::judgePack(
                found ? std::optional(carsets::installedRelease(installed, pack).value_or(published)) : std::nullopt,
                published);
        },
        [](const QString& track) { return meeting::trackFileName(track).has_value(); }};
    // As at a member's first check after the start, with nothing kept from an earlier one.
    meeting::CheckMemory firstCheck;
    return {meeting::meetingReportText(meeting::readinessOf(meetings, packs, today, firstCheck, member)),
            league::packStatusText(league::judgePacks(releases, installed))};
}

} // namespace leaguecheck
