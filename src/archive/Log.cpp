#include "archive/Log.h"

namespace archives {

Q_LOGGING_CATEGORY(archiveLog, "tarvok.archive")

} // namespace archives
