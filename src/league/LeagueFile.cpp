#include "league/LeagueFile.h"

#include "fs/FileSystem.h"
#include "league/Log.h"

namespace league {

std::optional<QByteArray> downloadLeagueFile(HttpFetch& fetch, const QString& website, const fs::Path& carFolder,
                                             const QString& name) {
    const fs::Path local = carFolder / fs::fromQt(name);
    fs::removeFile(local);
    const std::optional<QByteArray> body = fetch.fetch(website + name);
    if (!body)
        return std::nullopt;
    if (!fs::writeWhole(local, *body)) {
        qCWarning(leagueLog).noquote() << QStringLiteral("%1 could not be stored").arg(fs::displayName(local));
        return std::nullopt;
    }
    return body;
}

} // namespace league
