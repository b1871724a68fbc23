#pragma once

#include "app/Ports.h"
#include "fs/FileSystem.h"

#include <QString>
#include <QStringList>

// Copies each named file of a folder into another under its own name, whole or not at all; the
// names, as shown, of the files that could not be copied.
QStringList copyEach(const fs::Path& from, const QList<fs::Path>& names, const fs::Path& into,
                     const fs::CopyProgress& progress);

// Names, in one box at the end of a command, the files it could not copy, followed by the note
// when there is one. Shows nothing when every file arrived.
void reportFailedCopies(MessageBox& msgBox, const QStringList& failedFiles, const QString& note = {});
