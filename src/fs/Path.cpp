#include "fs/Path.h"

#include "fs/HostFile.h"

namespace fs {

std::optional<Path> singleName(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ||
        name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || name.contains(QChar(0)) ||
        host::isReservedName(name))
        return std::nullopt;
    return fromQt(name);
}

} // namespace fs
