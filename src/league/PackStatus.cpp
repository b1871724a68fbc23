#include "league/PackStatus.h"

#include "league/LeagueFile.h"
#include "league/Log.h"

namespace league {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

} // namespace

Verdict judgePack(const std::optional<QDateTime>& installed, const QDateTime& published) {
    if (!installed)
        return Verdict::NotInstalled;
    if (*installed < published)
        return Verdict::OutOfDate;
    return *installed == published ? Verdict::UpToDate : Verdict::DateInvalid;
}

QString verdictLine(const QString& pack, Verdict verdict) {
    switch (verdict) {
    case Verdict::NotInstalled:
        return pack + QStringLiteral(" is not installed") + kLineEnd;
    case Verdict::OutOfDate:
        return pack + QStringLiteral(" is out of date") + kLineEnd;
    case Verdict::UpToDate:
        return pack + QStringLiteral(" is up to date") + kLineEnd;
    case Verdict::DateInvalid:
        break;
    }
    return pack + QStringLiteral(" date is invalid") + kLineEnd;
}

QString packListingText(const QList<PackRelease>& releases) {
    QString text;
    for (const PackRelease& release : releases)
        text += release.pack + QLatin1Char(':') + release.dateText + kLineEnd;
    return text;
}

QList<JudgedPack> judgePacks(const QList<PackRelease>& releases, const carsets::InstalledPacks& installed) {
    QList<JudgedPack> judged;
    for (qsizetype entry = 0; entry < releases.size(); ++entry) {
        const PackRelease& release = releases[entry];
        // A published date that is not a date gives no verdict.
        if (const text::DateValue published =
                text::readDate(release.dateText, {leagueLog(), kPackVersionList}, text::CountedList::lineNumber(entry)))
            judged.append({release.pack, judgePack(carsets::installedRelease(installed, release.pack), *published)});
    }
    return judged;
}

QString packStatusText(const QList<JudgedPack>& judged) {
    QString text;
    for (const JudgedPack& each : judged)
        text += verdictLine(each.pack, each.verdict);
    return text;
}

QString missingPackListText() {
    return QStringLiteral("Sorry, I could not find the File I needed ") + kLineEnd +
           QStringLiteral("to check the skin packs");
}

} // namespace league
