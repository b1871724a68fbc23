#pragma once

#include <QLoggingCategory>

namespace archives {

// What this layer did and why, as "tarvok.archive" in the log.
Q_DECLARE_LOGGING_CATEGORY(archiveLog)

} // namespace archives
