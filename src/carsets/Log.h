#pragma once

#include <QLoggingCategory>

namespace carsets {

// What this layer did and why, as "tarvok.carsets" in the log.
Q_DECLARE_LOGGING_CATEGORY(carsetsLog)

} // namespace carsets
