// Date and count texts from league files and drivers.txt, read under both day/month orders.
#include "FuzzFolder.h"
#include "league/Conversions.h"

#include <QLocale>
#include <QRegularExpression>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ensureApplication();
    static const QLocale dayFirst(QLocale::German, QLocale::Germany);
    static const QLocale monthFirst(QLocale::English, QLocale::UnitedStates);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    for (const QLocale& locale : {dayFirst, monthFirst}) {
        const DateValue date = toDate(text, locale);
        // A date handed out must be a real one, or comparing it with another means nothing.
        if (date && !date->isValid())
            std::abort();
    }
    const std::optional<qint64> count = toWholeNumber(text);
    // The whole-number part never comes from a text with letters in it.
    if (count && text.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))))
        std::abort();
    return 0;
}
