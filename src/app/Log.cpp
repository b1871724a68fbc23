#include "app/Log.h"

namespace app {

Q_LOGGING_CATEGORY(appLog, "tarvok.app")

} // namespace app
