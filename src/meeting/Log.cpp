#include "meeting/Log.h"

namespace meeting {

Q_LOGGING_CATEGORY(meetingLog, "tarvok.meeting")

} // namespace meeting
