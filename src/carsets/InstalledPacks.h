#pragma once

#include "fs/Path.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

namespace carsets {

// What the car folder holds of the packs the league names: each installed pack's release date, the zero
// date when its drivers.txt cannot be read. A name that is no single folder name names nothing installed,
// so nothing outside the car folder is looked at.
using InstalledPacks = QHash<QString, QDateTime>;

InstalledPacks findInstalledPacks(const fs::Path& carFolder, const QStringList& leagueNames);

// The named pack's installed release date; nothing when it is not installed.
std::optional<QDateTime> installedRelease(const InstalledPacks& installed, const QString& leagueName);

} // namespace carsets
