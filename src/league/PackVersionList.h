#pragma once

#include "text/Conversions.h"
#include "text/CountedList.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace league {

// One entry of the league's pack version list: the pack name before the first "|" and its published
// date after it, neither trimmed. A line without "|" has no name, and the whole line stands as its date.
struct PackRelease {
    QString pack;
    QString dateText;
};

PackRelease packReleaseOf(const QString& line);

// The entries the Check Packs listing shows and judges.
QList<PackRelease> listedReleases(const text::CountedList& list);
// Their pack names, in list order: the packs to look for in the car folder.
QStringList packNames(const QList<PackRelease>& releases);

// A pack name as the search for the meeting's pack compares it: without regard to letter case.
QString packKey(const QString& name);

// The search for the meeting's pack.
struct PackLookup {
    bool found = false;
    bool examinedAny = false;
    text::DateValue lastDate;     // the published date of the last entry examined: the match, if any
    text::DateValue lastRealDate; // the last published date examined that is a date
};

PackLookup lookUpPack(const text::CountedList& list, const QString& pack);

} // namespace league
