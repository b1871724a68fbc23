#pragma once

#include <QString>

#include <filesystem>
#include <optional>

namespace fs {

// A host path: on Linux the bytes the kernel knows, on Windows UTF-16. Names read from the disk stay
// in this form from listing to copying, so a name that is not valid UTF-8 is still copied; only
// their display is decoded.
using Path = std::filesystem::path;

// A path as Qt spells it, such as the program's folder.
Path fromQt(const QString& path);

// How a host name or path is shown to the member.
QString displayName(const Path& path);

// A name from the league's files as one host name, or nothing when it names no single entry of a
// folder: empty, "." or "..", holding "/" or "\" (the league writes its lists on Windows) or a NUL,
// and on Windows holding ":" or naming a device such as CON or NUL.
std::optional<Path> singleName(const QString& name);

} // namespace fs
