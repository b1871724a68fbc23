#pragma once

#include "app/FormState.h"
#include "app/Ports.h"

#include <QByteArray>

#include <optional>

// Fetches strWebsite + strFile into the program's folder under the name strFile. The old copy is
// deleted first; a failed fetch stores an empty file. The bytes stored, or nothing when they could
// not be stored: a check then has no list, whatever an older copy still holds.
std::optional<QByteArray> subDownloadFile(const FormState& st, HttpFetch& inet1, const QString& strFile);
