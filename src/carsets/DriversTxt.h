#pragma once

#include "fs/Path.h"

#include <QString>

#include <optional>

// Lines 4 and 5 of a car set description file, the only ones the program reads; a line is
// missing when the file ends before it.
struct SetLines {
    std::optional<QString> line4;
    std::optional<QString> line5;
};

// Reads lines 4 and 5 of the drivers.txt at path; nothing when it is not a regular file that can be read.
std::optional<SetLines> readSetLines(const fs::Path& path);

// A line without its three-character prefix; nothing when the line is shorter than the prefix.
std::optional<QString> fieldOf(const QString& line);
