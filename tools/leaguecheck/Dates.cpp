#include "Dates.h"

namespace leaguecheck {

namespace {

QString iso(const QDateTime& date) {
    return date.date().toString(Qt::ISODate);
}

QString unreadEffect(DateUse use) {
    return use == DateUse::Published
               ? QStringLiteral("Check Packs gives the pack no status line, and a meeting with it "
                                "ends in \"There seem to be problems\"")
               : QStringLiteral("their managers pass over this meeting: it is never the next one");
}

} // namespace

const QList<Region>& regions() {
    static const QList<Region> all{
        {QLocale(QLocale::English, QLocale::UnitedKingdom), QStringLiteral("the day first (as in Britain)")},
        {QLocale(QLocale::English, QLocale::UnitedStates), QStringLiteral("the month first (as in the US)")},
        {QLocale(QLocale::Swedish, QLocale::Sweden), QStringLiteral("the year first (as in Sweden or Japan)")},
    };
    return all;
}

QString shown(const QDateTime& date) {
    const QTime time = date.time();
    QString text = QLocale(QLocale::English).toString(date.date(), QStringLiteral("d MMMM yyyy"));
    if (time != QTime(0, 0))
        text += time.toString(time.second() ? QStringLiteral(" HH:mm:ss") : QStringLiteral(" HH:mm"));
    return text;
}

DateReadings::DateReadings(const QString& text) : text_(text) {
    for (const Region& region : regions()) {
        const text::DateValue date = text::toDate(text, region.locale);
        if (!date) {
            unread_.append(region.order);
            continue;
        }
        qsizetype at = dates_.indexOf(*date);
        if (at < 0) {
            at = dates_.size();
            dates_.append(*date);
            readers_.append(QStringList());
        }
        readers_[at].append(region.order);
    }
}

QString DateReadings::reads() const {
    if (dates_.isEmpty())
        return QStringLiteral("not a date");
    QStringList dates;
    for (const QDateTime& date : dates_)
        dates.append(shown(date));
    if (!unread_.isEmpty())
        dates.append(QStringLiteral("no date"));
    return dates.size() == 1 ? dates.first() : dates.join(QStringLiteral(" or ")) + QStringLiteral(", by region");
}

text::DateValue DateReadings::agreed() const {
    if (dates_.size() != 1 || !unread_.isEmpty())
        return std::nullopt;
    return dates_.first();
}

// "as 12 April 2003 for members whose settings put the day first (as in Britain), as 4 December 2003 for those who
// put the month first (as in the US), and as no date for those who put ..."
QString DateReadings::byRegion() const {
    QStringList parts;
    for (qsizetype at = 0; at < dates_.size(); ++at)
        parts.append(QStringLiteral("as %1 for %2 put %3")
                         .arg(shown(dates_[at]),
                              parts.isEmpty() ? QStringLiteral("members whose settings") : QStringLiteral("those who"),
                              readers_[at].join(QStringLiteral(" or "))));
    if (!unread_.isEmpty())
        parts.append(QStringLiteral("as no date for those who put ") + unread_.join(QStringLiteral(" or ")));
    const QString last = parts.takeLast();
    return parts.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

QStringList DateReadings::slips(DateUse use) const {
    const QString quoted = QLatin1Char('"') + text_ + QLatin1Char('"');
    if (dates_.isEmpty())
        return {QStringLiteral("%1 is no date the manager can read, so %2. Write the date as year-month-day, such as "
                               "2026-12-13.")
                    .arg(quoted, unreadEffect(use))};
    QStringList slips;
    const QDateTime& first = dates_.first();
    if (dates_.size() > 1 || !unread_.isEmpty()) {
        QStringList meant;
        for (const QDateTime& date : dates_)
            meant.append(iso(date));
        slips.append(QStringLiteral("%1 reads %2, so %3. Write %4, whichever you mean: year-month-day reads the same "
                                    "for every member.")
                         .arg(quoted, byRegion(),
                              use == DateUse::Published
                                  ? QStringLiteral("members of different regions get different verdicts on the same "
                                                   "copy of the pack")
                                  : QStringLiteral("members of different regions may be told of different meetings"),
                              meant.join(QStringLiteral(" or "))));
    }
    if (!text_.contains(QString::number(first.date().year())))
        slips.append(QStringLiteral("%1 writes the year with two digits, which the manager takes for %2 (00 to 29 as "
                                    "2000 to 2029, 30 to 99 as 1930 to 1999). Write the year in full: %3.")
                         .arg(quoted, QString::number(first.date().year()), iso(first)));
    if (first.time() != QTime(0, 0))
        slips.append(
            use == DateUse::Published
                ? QStringLiteral("%1 carries a time of day, which the manager compares too: a copy whose "
                                 "drivers.txt gives the day alone is \"out of date\". Write the date alone: %2.")
                      .arg(quoted, iso(first))
                : QStringLiteral("%1 carries a time of day, which the manager shows as written but which "
                                 "changes nothing: a meeting is the next one all its day. Write the date "
                                 "alone, %2, and any time in the meeting's name.")
                      .arg(quoted, iso(first)));
    return slips;
}

} // namespace leaguecheck
