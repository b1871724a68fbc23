#include "text/Website.h"

#include "text/Lines.h"

namespace text {

Website websiteOf(const std::optional<QByteArray>& config) {
    if (!config)
        return {kDefaultWebsite,
                QStringLiteral("Could not load CFG file, using default \r\nwebsite location : ") + kDefaultWebsite};
    const QStringList lines = linesOf(*config, 1);
    const QString address = lines.isEmpty() ? kDefaultWebsite : lines.first();
    return {address, QStringLiteral("Website is - ") + address};
}

} // namespace text
