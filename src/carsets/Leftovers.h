#pragma once

#include "fs/Path.h"
#include "fs/StagedCopy.h"

#include <QString>

namespace carsets {

// What start-up found of a swap and of a backup that were cut short (the program killed, the power cut),
// and did about them.
struct Leftovers {
    fs::Recovery swap;
    fs::Recovery backup;
    fs::Recovery install;
};

// Finishes or undoes a swap into the car folder, a backup into "original" and an install that were cut short, and
// removes the program's temporary files from both.
Leftovers clearLeftovers(const fs::Path& carFolder);

// What the member is told of it, in plain sentences; empty when nothing was found.
QString leftoversText(const Leftovers& leftovers);

// What the member is told of a swap and a backup cut short while placing, when start-up cannot finish them
// now; empty when none waits.
QString waitingText(const fs::Path& carFolder);

} // namespace carsets
