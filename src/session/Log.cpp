#include "session/Log.h"

namespace session {

Q_LOGGING_CATEGORY(sessionLog, "tarvok.session")

} // namespace session
