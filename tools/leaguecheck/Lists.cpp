#include "Lists.h"

#include "Dates.h"
#include "fs/Path.h"
#include "league/LeagueFile.h"
#include "league/PackVersionList.h"
#include "meeting/MeetingList.h"
#include "meeting/Track.h"
#include "text/Lines.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <functional>

namespace leaguecheck {

namespace {

// What differs between the two lists in the words of their slips.
struct ListWords {
    QString entries;   // what the lines after the count are
    QString example;   // an entry line as it should be written
    QString noCount;   // what members see when the count is no positive number
    QString uncounted; // what members miss of an entry after the counted ones
};

const ListWords kPackWords{
    QStringLiteral("packs"), QStringLiteral("GT2003|2026-04-12"),
    QStringLiteral("members' Check Packs lists no pack at all"),
    QStringLiteral("Check Packs leaves the pack out, and a meeting with it ends in \"There seem to be problems\"")};
const ListWords kMeetingWords{QStringLiteral("meetings"), QStringLiteral("2026-12-13|Round 5|GT2003|Spa"),
                              QStringLiteral("members' managers read on to the end of the file"),
                              QStringLiteral("members are never told of this meeting")};

using EntryCheck = std::function<void(const QString& entry, CheckedLine& line)>;

// A line the manager would read differently as UTF-8 and in the Windows code page; `read` is how it reads it.
void addEncodingSlip(CheckedLine& line, QByteArrayView bytes, const QString& read) {
    if (std::all_of(bytes.begin(), bytes.end(), [](char byte) { return static_cast<unsigned char>(byte) < 0x80; }))
        return;
    line.slips.append(
        QStringLiteral("this line holds letters beyond plain ASCII, which UTF-8 and the Windows code page (ANSI) "
                       "write differently. The manager reads it as %1: \"%2\". Make sure that is what you meant, "
                       "or write plain ASCII letters, which read the same in both.")
            .arg(read == QString::fromUtf8(bytes) ? QStringLiteral("UTF-8") : QStringLiteral("the Windows code page"),
                 read));
}

QStringList fileSlips(const QByteArray& bytes) {
    QStringList slips;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        slips.append(QStringLiteral("the file starts with a byte order mark, invisible bytes that some editors write "
                                    "first. The manager skips them, but other programs that read the file may take "
                                    "them for part of the count. Save the file as UTF-8 without a byte order mark."));
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        slips.append(QStringLiteral("the file is saved as UTF-16 (\"Unicode\"), which the manager reads as noise. Save "
                                    "it as UTF-8 or ANSI."));
    return slips;
}

// The count line against the entry lines that follow it, up to the last that is not blank.
CheckedLine countLine(const QByteArray& bytes, const QString& text, std::optional<qint64> count, qsizetype entries,
                      const ListWords& words) {
    CheckedLine line{1, {}, fileSlips(bytes)};
    const QString written = QString::number(entries);
    if (bytes.isEmpty()) {
        line.reads = QStringLiteral("nothing: the file is empty");
        line.slips.append(QStringLiteral("the file is empty, so members' managers find no %1 in it. Write their number "
                                         "on line 1, then one line for each, such as %2.")
                              .arg(words.entries, words.example));
    } else if (!count || *count <= 0) {
        line.reads = QStringLiteral("the count, \"%1\", which is no positive number").arg(text);
        line.slips.append(QStringLiteral("line 1 should count the %1 that follow, but \"%2\" is no positive number, so "
                                         "%3. Write %4.")
                              .arg(words.entries, text, words.noCount, written));
    } else {
        line.reads = QStringLiteral("the count: %1").arg(*count);
        if (*count < entries) {
            const qsizetype first = text::CountedList::lineNumber(*count),
                            last = text::CountedList::lineNumber(entries - 1);
            line.slips.append(QStringLiteral("the count is %1, but %2 %3 follow, so members' managers never read %4. "
                                             "Write %2.")
                                  .arg(QString::number(*count), written, words.entries,
                                       first == last ? QStringLiteral("line %1").arg(first)
                                                     : QStringLiteral("lines %1 to %2").arg(first).arg(last)));
        } else if (*count > entries)
            line.slips.append(QStringLiteral("the count is %1, but only %2 %3 follow. Write %2, so that the count "
                                             "says what the file holds.")
                                  .arg(*count)
                                  .arg(written, words.entries));
    }
    return line;
}

// Each line of a list, as the manager reads it: the count, then the entries, each judged by checkEntry.
CheckedFile checkList(const QString& name, const QByteArray& bytes, const ListWords& words,
                      const EntryCheck& checkEntry) {
    const text::CountedList list = text::readCountedList(bytes);
    const QList<QByteArrayView> lineBytes = text::lineBytesOf(bytes);
    qsizetype entries = list.lines.size();
    while (entries > 0 && list.lines[entries - 1].trimmed().isEmpty())
        --entries;
    const QString countText = text::linesOf(bytes, 1).value(0);
    const std::optional<qint64> count = text::toWholeNumber(countText);
    // A count that is no positive number is never reached: the searches read every line.
    const qint64 counted = count && *count > 0 ? *count : entries;

    CheckedFile file{name, {countLine(bytes, countText, count, entries, words)}};
    addEncodingSlip(file.lines.first(), lineBytes.value(0), countText);
    for (qsizetype at = 0; at < entries; ++at) {
        CheckedLine line{text::CountedList::lineNumber(at), {}, {}};
        const QString& entry = list.lines[at];
        if (at >= counted) {
            line.reads = QStringLiteral("not read, as it comes after the counted ") + words.entries;
            if (!entry.trimmed().isEmpty())
                line.slips.append(QStringLiteral("this line comes after line %1, the last that the count on line 1 "
                                                 "takes in, so members' managers never read it: %2. Raise the count.")
                                      .arg(text::CountedList::lineNumber(counted - 1))
                                      .arg(words.uncounted));
        } else if (entry.trimmed().isEmpty()) {
            line.reads = QStringLiteral("an empty line");
            line.slips.append(QStringLiteral("an empty line where the manager reads one of the %1. Remove it and lower "
                                             "the count on line 1.")
                                  .arg(words.entries));
        } else {
            checkEntry(entry, line);
        }
        addEncodingSlip(line, lineBytes.value(at + 1), entry);
        file.lines.append(line);
    }
    return file;
}

enum class Named { Pack, Track };

// A pack or track name that members' managers never find as written.
QStringList nameSlips(const QString& name, Named named) {
    const bool pack = named == Named::Pack;
    const QString what = pack ? QStringLiteral("pack") : QStringLiteral("track");
    const QString told = pack ? QStringLiteral("\"%1 is not installed\"").arg(name)
                              : QStringLiteral("\"The %1 track is not installed\"").arg(name);
    if (name.trimmed().isEmpty())
        return {
            QStringLiteral("the %1's name is empty, so every member is told %2. Write the %1's name.").arg(what, told)};
    if (name != name.trimmed()) {
        const QString where = !name.front().isSpace() ? QStringLiteral("end")
                              : name.back().isSpace() ? QStringLiteral("start and end")
                                                      : QStringLiteral("start");
        return {QStringLiteral("the %1 name \"%2\" has a blank at its %3, which the manager keeps: it looks for "
                               "\"%2\", blank and all, so every member is told %4. Write \"%5\".")
                    .arg(what, name, where, told, name.trimmed())};
    }
    if (pack ? !fs::singleName(name) : !meeting::trackFileName(name))
        return {QStringLiteral("the manager takes \"%1\" for no %2 name at all (a name with \"\\\", \"/\" or \":\", "
                               "\".\" or \"..\", or a Windows device name such as CON), so every member is told %3. "
                               "Write the %2's name alone, as its %4 is named.")
                    .arg(name, what, told, pack ? QStringLiteral("folder") : QStringLiteral("file in the run folder"))};
    return {};
}

} // namespace

CheckedFile checkPackList(const QByteArray& bytes) {
    QHash<QString, qsizetype> seen; // the line of each name read, by its key as the manager compares names
    return checkList(league::kPackVersionList, bytes, kPackWords, [&](const QString& entry, CheckedLine& line) {
        const league::PackRelease release = league::packReleaseOf(entry);
        if (!entry.contains(QLatin1Char('|'))) {
            line.reads = QStringLiteral("no pack, and the whole line as the date");
            line.slips.append(QStringLiteral("there is no \"|\" between the pack's name and its date, so the manager "
                                             "reads no name and takes the whole line for the date. Write the pack's "
                                             "folder name, \"|\" and its date, such as %1.")
                                  .arg(kPackWords.example));
            return;
        }
        const DateReadings published(release.dateText);
        line.reads =
            QStringLiteral("pack \"%1\", published \"%2\": %3").arg(release.pack, release.dateText, published.reads());
        line.slips += nameSlips(release.pack, Named::Pack);
        if (const auto first = seen.constFind(league::packKey(release.pack)); first != seen.constEnd())
            line.slips.append(QStringLiteral("%1 is listed already, on line %2 (the manager ignores letter case): a "
                                             "meeting with it is checked against that first entry alone, while "
                                             "Check Packs judges the pack twice. Keep one of the two lines.")
                                  .arg(release.pack, QString::number(first.value())));
        else
            seen.insert(league::packKey(release.pack), line.number);
        line.slips += published.slips(DateUse::Published);
    });
}

CheckedFile checkMeetingList(const QByteArray& bytes, const std::optional<QByteArray>& packList, const QDate& today) {
    // The names the search for a meeting's pack finds, each read once; nothing when there is no pack list.
    std::optional<QSet<QString>> listed;
    if (packList) {
        listed.emplace();
        for (const QString& line : text::readCountedList(*packList).searched())
            listed->insert(league::packKey(league::packReleaseOf(line).pack));
    }
    std::optional<std::pair<QDateTime, qsizetype>> latest; // the latest date every member reads alike, and its line
    CheckedFile file =
        checkList(league::kMeetingList, bytes, kMeetingWords, [&](const QString& entry, CheckedLine& line) {
            const meeting::MeetingLine fields = meeting::meetingLineOf(entry);
            const DateReadings date(fields.date);
            line.reads = QStringLiteral("\"%1\": %2; meeting \"%3\", pack \"%4\", track \"%5\"")
                             .arg(fields.date, date.reads(), fields.name, fields.pack, fields.track);
            line.slips += date.slips(DateUse::Meeting);
            const qsizetype separators = entry.count(QLatin1Char('|'));
            if (separators < 3) {
                line.slips.append(QStringLiteral("this line has %1 of the four fields the manager reads, "
                                                 "date|name|pack|track, so it takes \"%2\" for the pack and \"%3\" for "
                                                 "the track. Write all four, such as %4.")
                                      .arg(separators + 1)
                                      .arg(fields.pack, fields.track, kMeetingWords.example));
                return;
            }
            line.slips += nameSlips(fields.pack, Named::Pack);
            if (separators > 3)
                line.slips.append(
                    QStringLiteral("the track \"%1\" holds a \"|\": the manager reads everything after the "
                                   "third \"|\" as the track, so every member is told \"The %1 track is not "
                                   "installed\". Remove the extra \"|\".")
                        .arg(fields.track));
            else
                line.slips += nameSlips(fields.track, Named::Track);
            if (listed && !listed->contains(league::packKey(fields.pack)))
                line.slips.append(
                    QStringLiteral("the pack %1 is not in %2 (as far as its count goes), so every member's "
                                   "meeting check ends in \"There seem to be problems which may stop you "
                                   "racing the next meeting.\" Add it there, or write its name as %2 does.")
                        .arg(fields.pack, league::kPackVersionList));
            if (const text::DateValue day = date.agreed(); day && latest && *day < latest->first)
                line.slips.append(
                    QStringLiteral("this meeting, on %1, comes after one on %2 (line %3), but the manager "
                                   "takes the first meeting from today on in the file's order: until %1, "
                                   "members are told of that one while this one is still ahead. Put the "
                                   "meetings in date order.")
                        .arg(shown(*day), shown(latest->first))
                        .arg(latest->second));
            else if (day)
                latest = std::pair(*day, line.number);
        });
    bool ahead = false;
    for (const Region& region : regions()) {
        const RegionalSettings settings(region);
        ahead = ahead || meeting::findNextMeeting(text::readCountedList(bytes), today).found;
    }
    if (!ahead && file.lines.size() > 1)
        file.lines.first().slips.append(
            QStringLiteral("no meeting that the count takes in is dated %1 or later, so every member is told \"Sorry, "
                           "I could not find any relevant meeting info.\" and that there are problems. Add the next "
                           "meeting.")
                .arg(shown(QDateTime(today, QTime(0, 0)))));
    return file;
}

} // namespace leaguecheck
