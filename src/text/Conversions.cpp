#include "text/Conversions.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace text {

namespace {

// Lists of a thousand dates ask for the same locale's order each time; working it out is the dear part.
DateFieldOrder numericOrder(const QLocale& locale) {
    thread_local QLocale lastLocale(QLocale::C);
    thread_local DateFieldOrder lastOrder = dateFieldOrder(lastLocale.dateFormat(QLocale::ShortFormat));
    if (locale != lastLocale) {
        lastLocale = locale;
        lastOrder = dateFieldOrder(locale.dateFormat(QLocale::ShortFormat));
    }
    return lastOrder;
}

// Two-digit years 00-29 are this century's, 30-99 the last one's; four digits stand as written.
std::optional<int> fullYear(const QString& digits) {
    const int value = digits.toInt();
    if (digits.size() == 4)
        return value;
    if (digits.size() == 2)
        return value < 30 ? 2000 + value : 1900 + value;
    return std::nullopt;
}

std::optional<QDate> makeDate(const QString& yearDigits, int month, int day) {
    const std::optional<int> year = fullYear(yearDigits);
    if (!year)
        return std::nullopt;
    const QDate date(*year, month, day);
    return date.isValid() ? std::optional(date) : std::nullopt;
}

// Which of a numeric date's three groups holds which field.
struct GroupFields {
    std::size_t year, day, month;
};

// A group of four digits is the year wherever it stands, and ISO's month follows a leading year; day and
// month otherwise come in the settings' order. A text without one follows the settings' whole order.
GroupFields groupFields(const std::array<QString, 3>& groups, const QLocale& locale) {
    const DateFieldOrder order = numericOrder(locale);
    const auto position = [&](DateField wanted) {
        return std::size_t(std::find(order.begin(), order.end(), wanted) - order.begin());
    };
    const bool dayFirst = position(DateField::Day) < position(DateField::Month);
    if (groups[0].size() == 4)
        return {0, 2, 1};
    if (groups[2].size() == 4)
        return {2, dayFirst ? 0u : 1u, dayFirst ? 1u : 0u};
    return {position(DateField::Year), position(DateField::Day), position(DateField::Month)};
}

// "12/04/2003", "12-04-03", "12.04.2003", ISO "2003-04-12", "2003. 04. 12.". Where the settings' order of day
// and month gives no date, the other order may, as the member's own system reads "15/12/2026" in the US.
std::optional<QDate> numericDate(const QString& text, const QLocale& locale) {
    static const QRegularExpression pattern(
        QStringLiteral("^([0-9]{1,4})([/.-])\\s*([0-9]{1,2})\\2\\s*([0-9]{1,4})(\\.?)$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch() || (!match.captured(5).isEmpty() && match.captured(2) != QLatin1String(".")))
        return std::nullopt;
    const std::array<QString, 3> groups{match.captured(1), match.captured(3), match.captured(4)};
    const GroupFields fields = groupFields(groups, locale);
    for (const auto& [day, month] : {std::pair(fields.day, fields.month), std::pair(fields.month, fields.day)}) {
        // Only the year may have more than two digits.
        if (groups[day].size() > 2 || groups[month].size() > 2)
            return std::nullopt;
        if (const std::optional<QDate> date = makeDate(groups[fields.year], groups[month].toInt(), groups[day].toInt()))
            return date;
    }
    return std::nullopt;
}

QString withoutDots(QString name) {
    return name.remove(QLatin1Char('.'));
}

// The month a name stands for, in English or in the locale's language, full or short.
std::optional<int> monthOfName(const QString& name, const QLocale& locale) {
    const QLocale english(QLocale::English);
    for (int month = 1; month <= 12; ++month) {
        for (const QLocale::FormatType type : {QLocale::LongFormat, QLocale::ShortFormat}) {
            for (const QString& candidate : {english.monthName(month, type), locale.monthName(month, type),
                                             locale.standaloneMonthName(month, type)}) {
                if (name.compare(withoutDots(candidate), Qt::CaseInsensitive) == 0)
                    return month;
            }
        }
    }
    return std::nullopt;
}

bool isDigits(const QString& token) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    return digits.match(token).hasMatch();
}

// "12 April 2003", "April 12, 2003", "12-Apr-03", "2003 Apr 12", "12. März 2003".
std::optional<QDate> namedMonthDate(const QString& text, const QLocale& locale) {
    static const QRegularExpression separators(QStringLiteral("[\\s,./-]+"));
    const QStringList tokens = text.split(separators, Qt::SkipEmptyParts);
    if (tokens.size() != 3)
        return std::nullopt;
    std::optional<int> month;
    QStringList numbers;
    for (const QString& token : tokens) {
        if (isDigits(token))
            numbers.append(token);
        else if (!month)
            month = monthOfName(token, locale);
        else
            return std::nullopt;
    }
    if (!month || numbers.size() != 2)
        return std::nullopt;
    const bool yearFirst = numbers[0].size() == 4;
    const QString& day = yearFirst ? numbers[1] : numbers[0];
    const QString& year = yearFirst ? numbers[0] : numbers[1];
    if (day.size() > 2)
        return std::nullopt;
    return makeDate(year, *month, day.toInt());
}

struct SplitText {
    QString date;
    QTime time;
};

bool isMarker(const QString& text, const QString& english, const QString& local) {
    return text.compare(english, Qt::CaseInsensitive) == 0 || text.compare(local, Qt::CaseInsensitive) == 0;
}

// Separates an optional trailing time of day (HH:mm[:ss], with an optional AM/PM) from the date.
std::optional<SplitText> splitTime(const QString& text, const QLocale& locale) {
    static const QRegularExpression pattern(
        QStringLiteral("^(.*\\S)\\s+([0-9]{1,2}):([0-9]{2})(?::([0-9]{2}))?\\s*(\\S*)$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return SplitText{text, QTime(0, 0)};
    int hour = match.captured(2).toInt();
    const QString marker = match.captured(5);
    if (!marker.isEmpty()) {
        const bool am = isMarker(marker, QStringLiteral("AM"), locale.amText());
        const bool pm = isMarker(marker, QStringLiteral("PM"), locale.pmText());
        if ((!am && !pm) || hour < 1 || hour > 12)
            return std::nullopt;
        hour = hour % 12 + (pm ? 12 : 0);
    }
    const QTime time(hour, match.captured(3).toInt(), match.captured(4).toInt());
    if (!time.isValid())
        return std::nullopt;
    return SplitText{match.captured(1), time};
}

} // namespace

DateFieldOrder dateFieldOrder(const QString& format) {
    DateFieldOrder order{};
    int found = 0;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (quoted || found == 3)
            continue;
        const std::optional<DateField> field = c == QLatin1Char('d')   ? std::optional(DateField::Day)
                                               : c == QLatin1Char('M') ? std::optional(DateField::Month)
                                               : c == QLatin1Char('y') ? std::optional(DateField::Year)
                                                                       : std::nullopt;
        if (field && std::find(order.begin(), order.begin() + found, *field) == order.begin() + found)
            order[found++] = *field;
    }
    if (found != 3)
        return {DateField::Day, DateField::Month, DateField::Year};
    return order;
}

QDateTime zeroDate() {
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC);
}

DateValue toDate(const QString& text, const QLocale& locale) {
    const std::optional<SplitText> parts = splitTime(text.trimmed(), locale);
    if (!parts)
        return std::nullopt;
    std::optional<QDate> date = numericDate(parts->date, locale);
    if (!date)
        date = namedMonthDate(parts->date, locale);
    if (!date)
        return std::nullopt;
    return QDateTime(*date, parts->time, Qt::UTC);
}

DateValue readDate(const QString& text, const DateSource& source, qsizetype line, const QLocale& locale) {
    const DateValue date = toDate(text, locale);
    if (!date) {
        const QString note = QStringLiteral("%1 line %2: \"%3\" is not a date in the regional settings %4");
        qCWarning(source.log).noquote() << note.arg(source.file, QString::number(line), text, locale.name());
    }
    return date;
}

std::optional<qint64> toWholeNumber(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^([+-]?)([0-9]*)(?:\\.([0-9]*))?$"));
    const QRegularExpressionMatch match = number.match(text.trimmed());
    if (!match.hasMatch() || (match.captured(2).isEmpty() && match.captured(3).isEmpty()))
        return std::nullopt;
    if (match.captured(2).isEmpty())
        return 0;
    bool ok = false;
    const qint64 whole = match.captured(2).toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return match.captured(1) == QLatin1String("-") ? -whole : whole;
}

} // namespace text
