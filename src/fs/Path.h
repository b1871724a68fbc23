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

// Whether a host name names one entry of a folder and nothing else: not empty, "." or "..", without "/", "\"
// (the league writes its lists on Windows), ":" or a NUL, and on Windows no device such as CON or NUL. Every
// name read from outside (the league's files, a journal found on the disk) becomes a path only through it.
bool isSingleName(const Path& name);
// A name from the league's files as one host name, or nothing when it is not a single name.
std::optional<Path> singleName(const QString& name);

} // namespace fs
