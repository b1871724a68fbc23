#pragma once

#include "fs/Path.h"
#include "league/HttpFetch.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace league {

// The league's lists, as the web site and the car folder name them.
inline const QString kPackVersionList = QStringLiteral("tarvver.txt");
inline const QString kMeetingList = QStringLiteral("tarvmeet.txt");

// Fetches website + name into the car folder under that name, replacing the old copy, which goes first
// so a failed fetch never leaves stale league data behind; a failed fetch stores nothing. The bytes
// stored, or nothing when they could not be fetched or stored: a check then has no list, whatever an
// older copy held.
std::optional<QByteArray> downloadLeagueFile(HttpFetch& fetch, const QString& website, const fs::Path& carFolder,
                                             const QString& name);

} // namespace league
