#include "league/PackStatus.h"

#include "carsets/DriversTxt.h"
#include "fs/FileSystem.h"
#include "league/Conversions.h"
#include "league/Download.h"
#include "league/PackVersionList.h"

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

// Line 5 of the pack's drivers.txt behind its prefix; the zero date when it cannot be read.
QDateTime installedDate(const fs::FileSystem& fso, const QString& driversTxt) {
    const std::optional<SetLines> lines = readSetLines(fso, driversTxt);
    const std::optional<QString> field = lines && lines->line5 ? fieldOf(*lines->line5) : std::nullopt;
    const DateValue date = field ? toDate(*field) : std::nullopt;
    return date.value_or(zeroDate());
}

QString verdict(const QDateTime& installed, const QDateTime& published) {
    if (installed < published)
        return QStringLiteral(" is out of date");
    if (installed == published)
        return QStringLiteral(" is up to date");
    return QStringLiteral(" date is invalid");
}

// The entries of the list, up to its count or its end, whichever comes first.
QList<PackEntry> readEntries(fs::TextReader& reader) {
    const std::optional<QString> countLine = reader.readLine();
    const qint64 count = countLine ? toWholeNumber(*countLine).value_or(0) : 0;
    QList<PackEntry> entries;
    for (qint64 p = 0; p < count; ++p) {
        const std::optional<QString> line = reader.readLine();
        if (!line)
            break;
        entries.append(packEntryOf(*line));
    }
    return entries;
}

} // namespace

void subCheckPack(FormState& st, const QString& inPacks, const DateValue& inDates) {
    if (!inDates)
        return;
    const fs::FileSystem fso(st.appPath);
    if (!fso.folderExists(inPacks)) {
        st.strMessage += inPacks + QStringLiteral(" is not installed") + kLineEnd;
        return;
    }
    st.varPath = fso.getAbsolutePathName(inPacks + QStringLiteral("\\drivers.txt"));
    st.strMessage += inPacks + verdict(installedDate(fso, st.varPath), *inDates) + kLineEnd;
}

void subCheckPack(FormState& st, const QString& inPacks, const QString& inDates) {
    subCheckPack(st, inPacks, toDate(inDates));
}

void subCheckAllPacks(FormState& st, Ports& ui) {
    subDownloadFile(st, ui.inet1, kPackVersionList);
    const fs::FileSystem fso(st.appPath);
    if (!fso.fileExists(kPackVersionList)) {
        st.strMessage = QStringLiteral("Sorry, I could not find the File I needed ") + kLineEnd +
                        QStringLiteral("to check the skin packs");
        ui.msgBox.msgBox(st.strMessage, QStringLiteral("Pack Status"));
        return;
    }
    QList<PackEntry> entries;
    if (std::optional<fs::TextReader> reader = fso.openAsTextStream(kPackVersionList)) {
        entries = readEntries(*reader);
        reader->close();
    }

    st.strMessage.clear();
    for (const PackEntry& entry : entries)
        st.strMessage += entry.name + QLatin1Char(':') + entry.dateText + kLineEnd;
    ui.msgBox.msgBox(st.strMessage, QStringLiteral("Packs In file"));

    st.strMessage.clear();
    for (const PackEntry& entry : entries)
        subCheckPack(st, entry.name, entry.dateText);
    ui.msgBox.msgBox(st.strMessage, QStringLiteral("Pack Status"));
}
