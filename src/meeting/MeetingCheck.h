#pragma once

#include "app/FormState.h"
#include "app/Ports.h"

// The Check Meeting command: fetches both league files, reports the next meeting, its skinpack and
// its track, ends with a verdict and shows the report in the "Meeting Info" box.
void subCheckMeetings(FormState& st, Ports& ui);

// Appends whether "..\run\" + strMeetTrack + ".trk" exists; raises intProblem when it does not.
void subCheckTrack(FormState& st);

// Appends the verdict, which rests on intProblem alone.
void subMessageEnd(FormState& st);
