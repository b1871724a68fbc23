#pragma once

#include "fs/FileSystem.h"

#include <QByteArray>
#include <QString>

namespace fs {

// Copies source to target through a temporary file in the target's folder that is synced to disk
// and then renamed over the target. On failure the temporary file is removed and the target is
// as it was.
bool copyWholeFile(const QString& source, const QString& target, const CopyProgress& progress);

// Writes bytes to target the same way.
bool writeWholeFile(const QString& target, const QByteArray& bytes);

} // namespace fs
