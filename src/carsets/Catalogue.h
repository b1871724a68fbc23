#pragma once

#include "app/FormState.h"
#include "app/Ports.h"
#include "fs/FileSystem.h"

// Description of one pack: its name field, " - ", its date field, each replaced by its default
// when its line is blank or missing.
QString fnGetTXTDetails(const fs::FileSystem& fso, const QString& inpath);

// Adds the subfolder as the next pack when it holds a drivers.txt.
void subFoldersTXT(FormState& st, const fs::FileSystem& fso, const fs::Subfolder& infolder);

// Builds arrPacks from the program folder's subfolders and fills lstPacks, the descriptions
// aligned in one column behind a fill of full stops.
void subInitialiseSkinPacks(FormState& st, PackList& lstPacks);
