#pragma once

#include "app/FormState.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The league's pack version list, as the program's folder holds it after a download.
inline const QString kPackVersionList = QStringLiteral("tarvver.txt");

// One entry line of the pack version list: the pack name before the first "|" and the published
// date text after it. A line without "|" has no name, and the whole line stands as its date text.
struct PackEntry {
    QString name;
    QString dateText;
};
PackEntry packEntryOf(const QString& line);

// Looks strMeetPack up in the fetched tarvver.txt and keeps its published date in
// strPackDate and datPackDate; raises intProblem when the pack is not listed or there is no list,
// and when its listed date is not a date, as then its readiness cannot be confirmed.
// Returns the published date this check goes on with, which is nothing when that entry's date is not a date.
DateValue subGetPackDate(FormState& st, const std::optional<QByteArray>& list);
