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
    // The stored copy is for the member and the league to look at; every check fetches the list afresh.
    if (const fs::Status stored = fs::writeWhole(local, *body, fs::Durability::Cached); !stored.ok()) {
        qCWarning(leagueLog).noquote()
            << QStringLiteral("%1 could not be stored: %2").arg(fs::displayName(local), stored.reason());
        return std::nullopt;
    }
    return body;
}

} // namespace league
