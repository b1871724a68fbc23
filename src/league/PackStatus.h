#pragma once

#include "app/FormState.h"
#include "app/Ports.h"

// Judges one pack against its published date and appends its verdict line to strMessage; appends
// nothing when there is no published date.
void subCheckPack(FormState& st, const QString& inPacks, const DateValue& inDates);
void subCheckPack(FormState& st, const QString& inPacks, const QString& inDates);

// Fetches tarvver.txt, shows it in the "Packs In file" box and every listed pack's verdict in the
// "Pack Status" box.
void subCheckAllPacks(FormState& st, Ports& ui);
