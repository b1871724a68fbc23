#pragma once

#include "app/FormState.h"

#include <QLocale>
#include <QString>

#include <optional>

// Text to date, for published, installed and meeting dates alike. The locale decides whether the
// day or the month comes first; nothing when the text is not a date.
DateValue toDate(const QString& text, const QLocale& locale = QLocale::system());

// The whole-number part of a count line; nothing when the text is not a number.
std::optional<qint64> toWholeNumber(const QString& text);
