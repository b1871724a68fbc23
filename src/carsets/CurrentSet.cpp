#include "carsets/CurrentSet.h"

namespace {

// The name field, then the date field when line 5 is longer than its prefix.
QString withDate(const QString& name, const std::optional<QString>& line5) {
    if (line5 && line5->size() > 3)
        return name + QLatin1Char(' ') + line5->mid(3);
    return name;
}

} // namespace

QString startupCurrentSetText(const std::optional<SetLines>& lines) {
    const std::optional<QString> name = lines && lines->line4 ? fieldOf(*lines->line4) : std::nullopt;
    if (!name)
        return QStringLiteral("Error");
    return withDate(*name, lines->line5);
}

std::optional<QString> currentSetText(const std::optional<SetLines>& lines) {
    if (!lines || !lines->line4 || !lines->line5)
        return std::nullopt;
    const std::optional<QString> name = fieldOf(*lines->line4);
    if (!name)
        return std::nullopt;
    return withDate(*name, lines->line5);
}

bool subCurrent(const FormState& st, CurrentSetBox& lblCurrent) {
    const std::optional<QString> text = currentSetText(readSetLines(st.appPath / "drivers.txt"));
    if (!text)
        return false;
    lblCurrent.setText(*text);
    return true;
}

void showStartupCurrentSet(const FormState& st, CurrentSetBox& lblCurrent) {
    lblCurrent.setText(startupCurrentSetText(readSetLines(st.appPath / "drivers.txt")));
}
