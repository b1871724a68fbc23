#pragma once

#include "app/FormState.h"
#include "app/Ports.h"
#include "carsets/DriversTxt.h"

// The current set text shown at start-up: "Error" whenever the name field cannot be read.
QString startupCurrentSetText(const std::optional<SetLines>& lines);

// The current set text after a swap, or nothing when the active drivers.txt cannot be read
// through line 5; the text box then keeps its text.
std::optional<QString> currentSetText(const std::optional<SetLines>& lines);

// Re-reads the active drivers.txt and shows the current set in lblCurrent. Returns false, and
// leaves lblCurrent as it was, when the file cannot be read through line 5.
bool subCurrent(const FormState& st, CurrentSetBox& lblCurrent);

// The start-up reading of the active set, which never fails: "Error" stands for what it cannot read.
void showStartupCurrentSet(const FormState& st, CurrentSetBox& lblCurrent);
