#pragma once

#include "session/Ports.h"

// The host's own calendar.
class SystemClock : public Clock {
public:
    QDate today() const override;
};
