#pragma once

#include <QLoggingCategory>

namespace app {

// What this layer did and why, as "tarvok.app" in the log.
Q_DECLARE_LOGGING_CATEGORY(appLog)

} // namespace app
