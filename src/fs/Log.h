#pragma once

#include <QLoggingCategory>

namespace fs {

// What this layer did and why, as "tarvok.fs" in the log.
Q_DECLARE_LOGGING_CATEGORY(fsLog)

} // namespace fs
