#pragma once

#include <QFile>
#include <QString>

#include <functional>

// The few operations that differ between hosts, kept here so nothing else calls the host directly.
namespace fs {

// Copies all of input into output with the fastest copy the host offers, reporting the bytes
// copied so far after each block.
bool copyContents(QFile& input, QFile& output, const std::function<void(qint64)>& progress);

// Pushes a written file's data to the disk, so a rename over the target never exposes a file
// whose data is not there after a power cut.
bool syncToDisk(QFile& file);

// Renames from over to, replacing an existing file of that name in one step.
bool renameOver(const QString& from, const QString& to);

} // namespace fs
