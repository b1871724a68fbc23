#include "text/DriversTxt.h"

#include <algorithm>

namespace text {

namespace {

// A line without its three-character prefix; nothing when the line is shorter than the prefix.
std::optional<QString> fieldOf(const std::optional<QString>& line) {
    if (!line || line->size() < 3)
        return std::nullopt;
    return line->mid(3);
}

// Only the space counts as a blank in drivers.txt, not tabs or other white space.
bool isBlank(const QString& line) {
    return std::all_of(line.cbegin(), line.cend(), [](QChar c) { return c == QLatin1Char(' '); });
}

// A missing line counts as blank; a short line that is not blank gives an empty field.
QString fieldOrDefault(const std::optional<QString>& line, const QString& fallback) {
    if (!line || isBlank(*line))
        return fallback;
    return fieldOf(line).value_or(QString());
}

// The name field, then the date field when line 5 is longer than its prefix.
QString withDate(const QString& name, const std::optional<QString>& line5) {
    if (line5 && line5->size() > 3)
        return name + QLatin1Char(' ') + line5->mid(3);
    return name;
}

} // namespace

SetLines setLinesOf(const QByteArray& head) {
    // Lines 1 to 3 are never read, so they are not decoded either.
    const QList<QByteArrayView> lines = lineBytesOf(head, 5);
    SetLines set;
    if (lines.size() > 3)
        set.line4 = decodeLine(lines[3]);
    if (lines.size() > 4)
        set.line5 = decodeLine(lines[4]);
    return set;
}

QString packDescription(const std::optional<SetLines>& lines) {
    const SetLines read = lines.value_or(SetLines{});
    return fieldOrDefault(read.line4, QStringLiteral("Unknown Skinpack")) + QStringLiteral(" - ") +
           fieldOrDefault(read.line5, QStringLiteral("01/01/1900"));
}

QString startupCurrentSetText(const std::optional<SetLines>& lines) {
    const std::optional<QString> name = lines ? fieldOf(lines->line4) : std::nullopt;
    return name ? withDate(*name, lines->line5) : QStringLiteral("Error");
}

std::optional<QString> currentSetText(const std::optional<SetLines>& lines) {
    if (!lines || !lines->line5)
        return std::nullopt;
    const std::optional<QString> name = fieldOf(lines->line4);
    if (!name)
        return std::nullopt;
    return withDate(*name, lines->line5);
}

QDateTime releaseDate(const std::optional<SetLines>& lines, const DateSource& source) {
    const std::optional<QString> field = lines ? fieldOf(lines->line5) : std::nullopt;
    return (field ? readDate(*field, source, 5) : std::nullopt).value_or(zeroDate());
}

} // namespace text
