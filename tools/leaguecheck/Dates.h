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

// What the check shows of a date text: the date every member reads, or that members read it differently or not at all.
QString readsAs(const QString& text);

// The date every member reads a text as; nothing when members read it differently or not at all.
text::DateValue agreedDate(const QString& text);

// The list a date is in, which decides what members see of its slips.
enum class DateUse { Published, Meeting };

// The slips of a date text: no date, one that only some regions read or that regions read differently, a two-digit
// year, a time of day.
QStringList dateSlips(const QString& text, DateUse use);

} // namespace leaguecheck
