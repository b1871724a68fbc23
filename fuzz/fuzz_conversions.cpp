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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::array<QLocale, 6> locales{QLocale("en_US"), QLocale("en_GB"), QLocale("de_DE"),
                                                QLocale("nl_NL"), QLocale("hu_HU"), QLocale("ja_JP")};
    if (size == 0)
        return 0;
    const QLocale& locale = locales[data[0] % locales.size()];
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    if (!isPermutation(text::dateFieldOrder(text)))
        std::abort();
    const text::DateValue date = text::toDate(text, locale);
    if (date && !readsBack(*date, locale))
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
