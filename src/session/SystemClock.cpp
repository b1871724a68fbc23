#include "session/SystemClock.h"

QDate SystemClock::today() const {
    return QDate::currentDate();
}
