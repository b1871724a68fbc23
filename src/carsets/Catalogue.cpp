#include "carsets/Catalogue.h"

#include "fs/FileSystem.h"

#include <algorithm>

namespace {

// Only the space counts as a blank in drivers.txt, not tabs or other white space.
bool isBlank(const QString& line) {
    return std::all_of(line.cbegin(), line.cend(), [](QChar c) { return c == QLatin1Char(' '); });
}

QString trimSpaces(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

// A missing line counts as blank; a short line that is not blank gives an empty field.
QString fieldOrDefault(const std::optional<QString>& line, const QString& fallback) {
    if (!line || isBlank(*line))
        return fallback;
    return fieldOf(*line).value_or(QString());
}

} // namespace

QString fnGetTXTDetails(const std::optional<SetLines>& lines) {
    const SetLines read = lines.value_or(SetLines{});
    return fieldOrDefault(read.line4, QStringLiteral("Unknown Skinpack")) + QStringLiteral(" - ") +
           fieldOrDefault(read.line5, QStringLiteral("01/01/1900"));
}

void subFoldersTXT(FormState& st, const fs::Path& infolder) {
    const fs::Path candidate = st.appPath / infolder / "drivers.txt";
    // Opening is the test that counts for nearly every pack; only a file that cannot be opened
    // needs the second look that tells it from no file at all.
    const std::optional<SetLines> lines = readSetLines(candidate);
    if (!lines && !fs::isFile(candidate))
        return;
    st.arrPacks.append({infolder, fs::displayName(infolder), fnGetTXTDetails(lines)});
    ++st.intPackCount;
}

void subInitialiseSkinPacks(FormState& st, PackList& lstPacks) {
    st.intPackCount = 0;
    st.arrPacks.clear();
    const QList<fs::Path> folders = fs::subfolders(st.appPath);
    st.arrPacks.reserve(folders.size());
    for (const fs::Path& folder : folders)
        subFoldersTXT(st, folder);

    qsizetype widest = 0;
    for (const PackRow& row : std::as_const(st.arrPacks))
        widest = std::max(widest, row.folderName.size());
    for (PackRow& row : st.arrPacks)
        row.description.prepend(QString(widest - row.folderName.size(), QLatin1Char('.')));
    for (const PackRow& row : std::as_const(st.arrPacks))
        lstPacks.addItem(row.folderName + QStringLiteral(" .") + trimSpaces(row.description));
}
