#include "league/LeagueFile.h"

#include "fs/FileSystem.h"

namespace league {

std::optional<QByteArray> downloadLeagueFile(HttpFetch& fetch, const QString& website, const fs::Path& carFolder,
                                             const QString& name) {
    const fs::Path local = carFolder / fs::fromQt(name);
    fs::removeFile(local);
    const QByteArray body = fetch.fetch(website + name).value_or(QByteArray());
    if (!fs::writeWhole(local, body).ok())
        return std::nullopt;
    return body;
}

} // namespace league
