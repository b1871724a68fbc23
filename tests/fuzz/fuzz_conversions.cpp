// Date and count texts from league files and drivers.txt, read under both day/month orders.
#include "text/Conversions.h"

#include <QRegularExpression>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QLocale dayFirst(QLocale::English, QLocale::UnitedKingdom);
    static const QLocale monthFirst(QLocale::English, QLocale::UnitedStates);
    static const QRegularExpression letters(QStringLiteral("[A-Za-z]"));
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const QLocale& locale : {dayFirst, monthFirst}) {
        const text::DateValue date = text::toDate(text, locale);
        // A date handed out is a real one, and blanks around the text change nothing.
        if ((date && !date->isValid()) || date != text::toDate(QLatin1Char(' ') + text + QLatin1Char(' '), locale))
            std::abort();
    }
    // The whole-number part never comes from a text with letters in it.
    if (text::toWholeNumber(text) && text.contains(letters))
        std::abort();
    return 0;
}
