#pragma once

#include <QString>

namespace session {

// From now on every message of the program, from any thread, is also appended to "tarvok-car-manager.log"
// in folder (made when missing): one line each, with the local time, the level, the category and the text.
// A log over 256 KiB at start becomes "tarvok-car-manager.log.1", the one old log kept. A log that cannot
// be opened or written is given up on until the next start; every message still goes where it went before.
void startLogFile(const QString& folder);

} // namespace session
