#pragma once

#include <QLoggingCategory>

namespace league {

// What this layer did and why, as "tarvok.league" in the log.
Q_DECLARE_LOGGING_CATEGORY(leagueLog)

} // namespace league
