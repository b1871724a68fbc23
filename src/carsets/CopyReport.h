#pragma once

#include "app/Ports.h"

#include <QString>
#include <QStringList>

// Names, in one box at the end of a command, the files it could not copy, followed by the note
// when there is one. Shows nothing when every file arrived.
void reportFailedCopies(MessageBox& msgBox, const QStringList& failedFiles, const QString& note = {});
