#pragma once

#include <QLoggingCategory>

namespace session {

// What this layer did and why, as "tarvok.session" in the log.
Q_DECLARE_LOGGING_CATEGORY(sessionLog)

} // namespace session
