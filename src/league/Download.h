#pragma once

#include "app/FormState.h"
#include "app/Ports.h"

// Fetches strWebsite + strFile into the program's folder under the name strFile. The old copy is
// deleted first; a failed fetch leaves an empty file. Reports nothing.
void subDownloadFile(const FormState& st, HttpFetch& inet1, const QString& strFile);
