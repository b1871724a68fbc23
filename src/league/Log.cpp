#include "league/Log.h"

namespace league {

Q_LOGGING_CATEGORY(leagueLog, "tarvok.league")

} // namespace league
