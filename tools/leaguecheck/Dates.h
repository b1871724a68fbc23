#pragma once

#include "text/Conversions.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

namespace leaguecheck {

// Members whose regional settings read a numeric date alike: the day first, the month first, or the year first.
struct Region {
    QLocale locale;
    QString order; // "the day first (as in Britain)"
};
const QList<Region>& regions();

// While it lives, the manager's readers, which read dates in the default settings, read them as a region's members do.
class RegionalSettings {
public:
    explicit RegionalSettings(const Region& region) : before_(QLocale()) { QLocale::setDefault(region.locale); }
    ~RegionalSettings() { QLocale::setDefault(before_); }
    RegionalSettings(const RegionalSettings&) = delete;
    RegionalSettings& operator=(const RegionalSettings&) = delete;

private:
    QLocale before_;
};

// A date as a person reads it, "12 April 2003", with its time of day where it has one.
QString shown(const QDateTime& date);

// The list a date is in, which decides what members see of its slips.
enum class DateUse { Published, Meeting };

// A date text as the members of each region read it.
class DateReadings {
public:
    explicit DateReadings(const QString& text);

    // What the check shows of it: the date every member reads, or that members read it differently or not at all.
    QString reads() const;
    // The date every member reads it as; nothing when members read it differently or not at all.
    text::DateValue agreed() const;
    // Its slips: no date, one that only some regions read or that regions read differently, a two-digit year, a time
    // of day.
    QStringList slips(DateUse use) const;

private:
    QString byRegion() const;

    QString text_;
    QList<QDateTime> dates_;     // each distinct date read, in the order of regions()
    QList<QStringList> readers_; // for each, the regions that read it so
    QStringList unread_;         // the regions that read no date
};

} // namespace leaguecheck
