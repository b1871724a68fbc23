#pragma once

#include <QLoggingCategory>

namespace meeting {

// What this layer did and why, as "tarvok.meeting" in the log.
Q_DECLARE_LOGGING_CATEGORY(meetingLog)

} // namespace meeting
