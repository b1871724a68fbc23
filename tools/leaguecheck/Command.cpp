#include "Command.h"

#include "AsOf.h"
#include "Dates.h"
#include "fs/FileSystem.h"
#include "league/LeagueFile.h"
#include "league/NetworkFetch.h"
#include "Lists.h"

#include <QCommandLineParser>

#include <functional>

namespace leaguecheck {

namespace {

const QString kUsage = QStringLiteral(
    "Usage: tarvok-league-check FOLDER\n"
    "       tarvok-league-check --url BASE\n"
    "Shows what every member's Tarvok Car Manager reads from the league's tarvver.txt and tarvmeet.txt, line by\n"
    "line, and flags each slip in them, as FILE:LINE: and what members will see and what to write instead. Then,\n"
    "as of the day, the \"Meeting Info\" and \"Pack Status\" texts that members are shown.\n"
    "\n"
    "  FOLDER        the folder that holds the two files, as they are to be uploaded\n"
    "  --url BASE    fetches them from the league web site instead, BASE followed by each file's name, as the\n"
    "                members' managers do: BASE is the first line of their ZERN.cfg, ending in \"/\"\n"
    "  --today DATE  the day to check as of, written year-month-day (2026-12-06); today when not given\n"
    "  --help        shows this text\n"
    "  --version     shows the program's version\n"
    "\n"
    "Exit status: 0 when nothing is flagged, 1 when something is, 2 when a file cannot be read or fetched.\n");

// One of the league's files as the check got it: its bytes and where from, or why it could not be had.
struct Got {
    std::optional<QByteArray> bytes;
    QString where;
    QString failure;
};

Got fetched(league::NetworkFetch& fetch, const QString& base, const QString& name) {
    const QString url = base + name;
    const std::optional<QByteArray> body = fetch.fetch(url);
    if (body)
        return {body, url, {}};
    // A member's manager puts the file's name right after the address, as here.
    const QString slash =
        base.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral(" (the address does not end in \"/\")");
    return {std::nullopt, url,
            QStringLiteral("%1 could not be fetched from %2: %3%4").arg(name, url, fetch.lastFailure(), slash)};
}

Got read(const QString& folder, const QString& name) {
    const fs::Path path = fs::fromQt(folder) / fs::fromQt(name);
    const QString where = fs::displayName(path);
    const fs::Result<QByteArray> bytes = fs::readHead(path, league::NetworkFetch::kMaxBodyBytes + 1);
    if (!bytes)
        return {std::nullopt, where,
                QStringLiteral("%1 could not be read from %2: %3").arg(name, where, bytes.status().reason())};
    if (bytes->size() > league::NetworkFetch::kMaxBodyBytes)
        return {std::nullopt, where,
                QStringLiteral("%1 could not be read from %2: it is over %3 bytes, which members' managers refuse")
                    .arg(name, where, QString::number(league::NetworkFetch::kMaxBodyBytes))};
    return {*bytes, where, {}};
}

// Prints a file line by line, each slip under its line; the number of slips.
qsizetype printFile(QTextStream& out, const CheckedFile& file, const QString& what, const QString& where) {
    out << file.name << ", " << what << " (" << where << "):\n";
    qsizetype slips = 0;
    for (const CheckedLine& line : file.lines) {
        out << "  line " << line.number << ": " << line.reads << '\n';
        for (const QString& slip : line.slips)
            out << file.name << ':' << line.number << ": " << slip << '\n';
        slips += line.slips.size();
    }
    out << '\n';
    return slips;
}

// A box's text as the members of each region see it: once when all see the same, else once for each region's text.
void printBox(QTextStream& out, const QString& heading, const std::function<QString()>& text) {
    QList<std::pair<QString, QStringList>> texts;
    for (const Region& region : regions()) {
        const RegionalSettings settings(region);
        const QString shown = text();
        const auto same =
            std::find_if(texts.begin(), texts.end(), [&](const auto& each) { return each.first == shown; });
        if (same == texts.end())
            texts.append({shown, {region.order}});
        else
            same->second.append(region.order);
    }
    out << heading << ":\n";
    for (const auto& [shown, orders] : texts) {
        if (texts.size() > 1)
            out << "For members whose settings put " << orders.join(QStringLiteral(" or ")) << ":\n";
        QString box = shown.isEmpty() ? QStringLiteral("(the box is empty)") : shown;
        box.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        out << box << (box.endsWith(QLatin1Char('\n')) ? "" : "\n");
    }
    out << '\n';
}

} // namespace

int runCheck(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    const QCommandLineOption url(QStringLiteral("url"), {}, QStringLiteral("BASE"));
    const QCommandLineOption today(QStringLiteral("today"), {}, QStringLiteral("DATE"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOptions({url, today, help, version});
    const bool parsed = parser.parse(arguments);
    if (parsed && parser.isSet(help)) {
        out << kUsage;
        return kNothingFlagged;
    }
    if (parsed && parser.isSet(version)) {
        out << "tarvok-league-check " << TARVOK_VERSION << '\n';
        return kNothingFlagged;
    }
    const QStringList folders = parser.positionalArguments();
    const QDate day = parser.isSet(today) ? QDate::fromString(parser.value(today), Qt::ISODate) : QDate::currentDate();
    QString wrong = parsed ? QString() : parser.errorText();
    if (parsed && (folders.size() > 1 || parser.isSet(url) == !folders.isEmpty()))
        wrong = QStringLiteral("give either one folder or --url and the league web site's address");
    else if (parsed && !day.isValid())
        wrong = QStringLiteral("--today takes a date written year-month-day, such as 2026-12-06");
    if (!wrong.isEmpty()) {
        err << "tarvok-league-check: " << wrong << "\n\n" << kUsage;
        return kCannotCheck;
    }

    league::NetworkFetch fetch;
    const auto get = [&](const QString& name) {
        return folders.isEmpty() ? fetched(fetch, parser.value(url), name) : read(folders.first(), name);
    };
    const Got packs = get(league::kPackVersionList);
    const Got meetings = get(league::kMeetingList);
    qsizetype slips = 0;
    if (packs.bytes)
        slips += printFile(out, checkPackList(*packs.bytes), QStringLiteral("the pack version list"), packs.where);
    if (meetings.bytes)
        slips += printFile(out, checkMeetingList(*meetings.bytes, packs.bytes, day), QStringLiteral("the meeting list"),
                           meetings.where);
    if (!packs.bytes || !meetings.bytes) {
        for (const Got* got : {&packs, &meetings})
            if (!got->bytes)
                err << "tarvok-league-check: " << got->failure << '\n';
        return kCannotCheck;
    }

    out << "As of " << QLocale(QLocale::English).toString(day, QStringLiteral("dddd d MMMM yyyy"))
        << ", the manager shows a member who has each pack installed as the league lists it\n"
           "(dated as listed), the meeting's pack swapped in, and the meeting's track:\n\n";
    printBox(out, QStringLiteral("\"Meeting Info\""),
             [&] { return membersSee(*meetings.bytes, *packs.bytes, day).meetingInfo; });
    printBox(out, QStringLiteral("\"Pack Status\""),
             [&] { return membersSee(*meetings.bytes, *packs.bytes, day).packStatus; });
    if (slips == 0)
        out << "Nothing flagged: every member's manager reads these files as shown above.\n";
    else
        out << slips << (slips == 1 ? " slip flagged: fix it" : " slips flagged: fix them")
            << " before you upload the files.\n";
    return slips == 0 ? kNothingFlagged : kFlagged;
}

} // namespace leaguecheck
