#include "fs/Log.h"

namespace fs {

Q_LOGGING_CATEGORY(fsLog, "tarvok.fs")

} // namespace fs
