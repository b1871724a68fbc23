#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

namespace leaguecheck {

// What the manager's own checks show a member as of a day, in the default regional settings, who has every listed
// pack installed as the league lists it (its folder named as the pack is, dated as listed), the meeting's pack too and
// swapped in, and the meeting's track: its "Meeting Info" and "Pack Status" boxes.
struct MembersSee {
    QString meetingInfo;
    QString packStatus;
    bool operator==(const MembersSee&) const = default;
};

MembersSee membersSee(const QByteArray& meetings, const QByteArray& packs, const QDate& today);

} // namespace leaguecheck
