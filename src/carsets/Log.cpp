#include "carsets/Log.h"

namespace carsets {

Q_LOGGING_CATEGORY(carsetsLog, "tarvok.carsets")

} // namespace carsets
