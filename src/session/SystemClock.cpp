#include "session/SystemClock.h"

namespace session {

QDate SystemClock::today() const {
    return QDate::currentDate();
}

} // namespace session
