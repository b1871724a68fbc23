#pragma once

#include <QDateTime>
#include <QLocale>
#include <QLoggingCategory>
#include <QString>

#include <array>
#include <optional>

namespace text {

// A date value: a date and a time of day, compared on the whole value. Held without a time zone, so a
// daylight-saving change never moves a meeting. Empty where a text was not a date.
using DateValue = std::optional<QDateTime>;

// The date a date field holds before anything is stored in it; it lies before every real release or
// meeting date.
QDateTime zeroDate();

// Text to date, for published, installed and meeting dates alike. A group of four digits is the year
// wherever it stands; the locale decides whether the day or the month comes first, and the other order
// serves where only it gives a date. Nothing when the text is not a date.
DateValue toDate(const QString& text, const QLocale& locale = QLocale());

// Where date texts are read: a file, and the log of the layer reading it.
struct DateSource {
    const QLoggingCategory& log;
    QString file;
};

// toDate, naming in the log each text that is not a date: its file, its line and the locale, since a
// member's regional settings decide how a date is read.
DateValue readDate(const QString& text, const DateSource& source, qsizetype line, const QLocale& locale = QLocale());

enum class DateField { Day, Month, Year };
using DateFieldOrder = std::array<DateField, 3>;

// The order of day, month and year in a date format such as "dd/MM/yyyy"; quoted text is no field. Day,
// month, year where the format lacks one of them.
DateFieldOrder dateFieldOrder(const QString& format);

// The whole-number part of a count line; nothing when the text is not a number.
std::optional<qint64> toWholeNumber(const QString& text);

} // namespace text
