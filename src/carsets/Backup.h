#pragma once

#include "app/FormState.h"
#include "app/Ports.h"

// Copies the active textures and drivers.txt into the folder "original" once the member agrees,
// adding to what earlier backups left there.
void subBack(FormState& st, Ports& ui);
