#pragma once

#include "fs/FileSystem.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace carsets {

// Told of a command's copies: their number and size before the first, then each block and file as it
// is written.
struct CopyWatch {
    std::function<void(int files, qint64 bytes)> starting;
    fs::CopyProgress progress;
};

// What a command's copies came to: the names, as shown, of the files that could not be copied, and a
// note on what that means for the car set.
struct CopyReport {
    QStringList failedFiles;
    QString note;
};

// Copies each named file of a folder into another under its own name, whole or not at all; the names
// of those that could not be copied.
QStringList copyEach(const fs::Path& from, const QList<fs::Path>& names, const fs::Path& into,
                     const fs::CopyProgress& progress);

// Tells the watch how much the named files of a folder hold.
void announce(const CopyWatch& watch, const fs::Path& folder, const QList<fs::Path>& names);

// The text of the "Oops..." box; empty when every file arrived.
QString failedCopiesText(const CopyReport& report);

} // namespace carsets
