#pragma once

#include "app/FormState.h"

// Looks strMeetPack up in the program folder's tarvver.txt and keeps its published date in
// strPackDate and datPackDate; raises intProblem when the pack is not listed or there is no list.
void subGetPackDate(FormState& st);
