#include "session/Config.h"

#include "fs/FileSystem.h"
#include "text/Lines.h"

Website readWebsite(const fs::Path& carFolder) {
    const fs::Path config = carFolder / "ZERN.cfg";
    if (!fs::isFile(config))
        return {kDefaultWebsite,
                QStringLiteral("Could not load CFG file, using default \r\nwebsite location : ") + kDefaultWebsite};
    // A file that cannot be read keeps the default.
    const QStringList lines = text::linesOf(fs::readHead(config, text::kMaxLineBytes + 2).value_or(QByteArray()), 1);
    const QString address = lines.isEmpty() ? kDefaultWebsite : lines.first();
    return {address, QStringLiteral("Website is - ") + address};
}
