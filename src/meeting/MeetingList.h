#pragma once

#include "app/FormState.h"
#include "app/Ports.h"

// Reads the fetched tarvmeet.txt, keeps the first meeting dated today or later in the
// meeting fields and appends the meeting sentence, or the apology and the problem flag.
void subReadMeetings(FormState& st, const Clock& clock, const std::optional<QByteArray>& list);
