#pragma once

#include "app/FormState.h"
#include "app/Ports.h"

#include <QString>

// The league web site used when the program's folder holds no "ZERN.cfg".
inline const QString kDefaultWebsite = QStringLiteral("http://www.tarvok.example/");

// Sets strWebsite from the first line of "ZERN.cfg" (or the default) and tells the member which
// address is in use.
void subLoadConfig(FormState& st, MessageBox& msgBox);
