#pragma once

#include "app/FormState.h"
#include "app/Ports.h"
#include "carsets/DriversTxt.h"
#include "fs/Path.h"

// Description of one pack from lines 4 and 5 of its drivers.txt: its name field, " - ", its date
// field, each replaced by its default when its line is blank, missing or unreadable.
QString fnGetTXTDetails(const std::optional<SetLines>& lines);

// Adds the subfolder as the next pack when it holds a drivers.txt.
void subFoldersTXT(FormState& st, const fs::Path& infolder);

// Builds arrPacks from the program folder's subfolders and fills lstPacks, the descriptions
// aligned in one column behind a fill of full stops.
void subInitialiseSkinPacks(FormState& st, PackList& lstPacks);
