#pragma once

#include "carsets/InstalledPacks.h"
#include "league/PackVersionList.h"

#include <QList>
#include <QString>

namespace league {

// How an installed copy of a pack compares with the league's release.
enum class Verdict { NotInstalled, OutOfDate, UpToDate, DateInvalid };

// Nothing installed, or the installed release date against the published one.
Verdict judgePack(const std::optional<QDateTime>& installed, const QDateTime& published);

// A pack's line in a report: its name followed by the verdict, then a line end.
QString verdictLine(const QString& pack, Verdict verdict);

// The "Packs In file" box: every listed entry as it was read, "name:date".
QString packListingText(const QList<PackRelease>& releases);

// A listed pack, judged.
struct JudgedPack {
    QString pack;
    Verdict verdict;
};

// Every listed entry whose published date is a date, judged against what is installed, in list order.
QList<JudgedPack> judgePacks(const QList<PackRelease>& releases, const carsets::InstalledPacks& installed);

// The "Pack Status" box: a verdict line for each judged pack.
QString packStatusText(const QList<JudgedPack>& judged);

// The "Pack Status" box when the list could not be had at all.
QString missingPackListText();

} // namespace league
