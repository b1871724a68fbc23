// The league's lists, tarvver.txt and tarvmeet.txt, as its web site serves them, through every reader of either.
#include "league/PackStatus.h"
#include "meeting/MeetingList.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Texts that are not dates are much of what the fuzzer feeds; logging each would only slow it.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    QLoggingCategory::setFilterRules(QStringLiteral("tarvok.*=false"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QLatin1String lineEnd("\r\n");
    const text::CountedList list =
        text::readCountedList(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const QList<league::PackRelease> releases = league::listedReleases(list);
    const QString status = league::packStatusText(league::judgePacks(releases, carsets::InstalledPacks()));
    // A listing line per entry; with nothing installed, at most one "not installed" line per entry.
    if (league::packListingText(releases).count(lineEnd) != releases.size() ||
        status.count(lineEnd) > releases.size() ||
        status.count(QLatin1String(" is not installed\r\n")) != status.count(lineEnd))
        std::abort();
    if (!releases.isEmpty() && !league::lookUpPack(list, releases.first().pack).found)
        std::abort();
    const league::PackLookup lookup = league::lookUpPack(list, "GT");
    if ((lookup.found && !lookup.examinedAny) || (lookup.lastDate && !lookup.lastRealDate))
        std::abort();
    const meeting::MeetingSearch search = meeting::findNextMeeting(list, QDate(2026, 12, 6));
    if (search.found && !search.lastRead)
        std::abort();
    for (const QString& line : list.lines) {
        const meeting::MeetingLine fields = meeting::meetingLineOf(line);
        // Cutting a line into its fields drops nothing but separators.
        if (QString(fields.date + fields.name + fields.pack + fields.track).remove(u'|') != QString(line).remove(u'|'))
            std::abort();
    }
    return 0;
}
