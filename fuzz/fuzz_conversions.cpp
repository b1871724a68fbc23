// The date and number conversions, under the locales members' systems run in, picked by the first byte.
#include "text/Conversions.h"

#include <QRegularExpression>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

bool isPermutation(const text::DateFieldOrder& order) {
    using enum text::DateField;
    const text::DateFieldOrder dayMonthYear{Day, Month, Year};
    return std::is_permutation(order.begin(), order.end(), dayMonthYear.begin());
}

// A date toDate accepted is valid, held in UTC, and read back from its short and its ISO writing.
bool readsBack(const QDateTime& date, const QLocale& locale) {
    const int year = date.date().year();
    // A two-digit year in a short format stands for 1930 to 2029 only; the short format drops the seconds.
    const bool shortKeepsYear =
        locale.dateFormat(QLocale::ShortFormat).contains(QLatin1String("yyyy")) || (year >= 1930 && year <= 2029);
    const QDateTime minutes(date.date(), QTime(date.time().hour(), date.time().minute()), Qt::UTC);
    const QString iso = date.date().toString(Qt::ISODate) + u' ' + date.time().toString(Qt::ISODate);
    return date.isValid() && date.timeSpec() == Qt::UTC && text::toDate(iso, locale) == date &&
           (!shortKeepsYear || text::toDate(locale.toString(date, QLocale::ShortFormat), locale) == minutes);
}

// Where a text starts with three numeric groups and holds a four-digit one first or last, that is the year, and
// day and month come in the settings' order unless only the other gives a date, when the day is past 12.
bool keepsYearAndOrder(const QString& text, const QDate& date, bool dayFirst) {
    static const QRegularExpression fourDigits(QStringLiteral("(?<![0-9])[0-9]{4}(?![0-9])"));
    static const QRegularExpression numeric(
        QStringLiteral("^\\s*([0-9]{1,4})[/.-]\\s*([0-9]{1,2})[/.-]\\s*([0-9]{1,4})(?![0-9])"));
    const QRegularExpressionMatch year = fourDigits.match(text);
    if (year.hasMatch() && year.captured().toInt() != date.year())
        return false;
    const QRegularExpressionMatch groups = numeric.match(text);
    if (!groups.hasMatch() || date.day() == date.month() || !year.hasMatch())
        return true;
    const bool yearFirst = groups.captured(1).size() == 4;
    const int before = groups.captured(yearFirst ? 2 : 1).toInt();
    const bool readDayFirst = before == date.day();
    return readDayFirst == (dayFirst && !yearFirst) || date.day() > 12;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Each locale, and whether its settings put the day before the month.
    static const std::array<std::pair<QLocale, bool>, 8> locales{{{QLocale("en_US"), false},
                                                                  {QLocale("en_GB"), true},
                                                                  {QLocale("de_DE"), true},
                                                                  {QLocale("nl_NL"), true},
                                                                  {QLocale("hu_HU"), false},
                                                                  {QLocale("ja_JP"), false},
                                                                  {QLocale("sv_SE"), false},
                                                                  {QLocale("zh_CN"), false}}};
    if (size == 0)
        return 0;
    const auto& [locale, dayFirst] = locales[data[0] % locales.size()];
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    if (!isPermutation(text::dateFieldOrder(text)))
        std::abort();
    const text::DateValue date = text::toDate(text, locale);
    if (date && (!readsBack(*date, locale) || !keepsYearAndOrder(text, date->date(), dayFirst)))
        std::abort();
    const std::optional<qint64> number = text::toWholeNumber(text);
    if (number && text::toWholeNumber(QString::number(*number)) != number)
        std::abort();
    // A decimal number of up to 15 whole digits, taken from the text's digits: its whole part.
    static const QRegularExpression notDigit(QStringLiteral("[^0-9]"));
    const QString digits = QString(text).remove(notDigit);
    const QString whole = digits.first(std::min<qsizetype>(data[0] >> 4, digits.size()));
    const QString fraction = digits.sliced(whole.size());
    const bool negative = data[0] & 8;
    const QString decimal =
        QLatin1String(negative ? "-" : "") + whole + (fraction.isEmpty() ? QString() : u'.' + fraction);
    const qint64 wholePart = (negative ? -1 : 1) * whole.toLongLong();
    if (!digits.isEmpty() && text::toWholeNumber(decimal) != wholePart)
        std::abort();
    return 0;
}
