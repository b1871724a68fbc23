#pragma once

#include "session/Ports.h"

namespace session {

// The host's own calendar.
class SystemClock : public Clock {
public:
    QDate today() const override;
};

} // namespace session
