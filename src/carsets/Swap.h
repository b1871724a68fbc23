#pragma once

#include "app/FormState.h"
#include "app/Ports.h"

// Swaps to the skinpack selected in lstPacks, or asks for one when nothing is selected.
void subDoIt(FormState& st, Ports& ui);

// Copies the pack's textures, then its drivers.txt, into the program's folder and shows the new
// set in lblCurrent. drivers.txt stays as it was when a texture could not be copied, so it never
// describes cars that are not all there.
void subMove(FormState& st, Ports& ui, const PackRow& pack);
