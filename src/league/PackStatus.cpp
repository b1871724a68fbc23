#include "league/PackStatus.h"

#include "carsets/DriversTxt.h"
#include "fs/FileSystem.h"
#include "league/Conversions.h"
#include "league/Download.h"
#include "league/PackVersionList.h"
#include "text/Lines.h"

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

// Line 5 of the pack's drivers.txt behind its prefix; the zero date when it cannot be read.
QDateTime installedDate(const fs::Path& driversTxt) {
    const std::optional<SetLines> lines = readSetLines(driversTxt);
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
QList<PackEntry> readEntries(const QByteArray& list) {
    const QStringList lines = text::linesOf(list);
    const qint64 count = lines.isEmpty() ? 0 : toWholeNumber(lines.first()).value_or(0);
    QList<PackEntry> entries;
    for (qint64 p = 1; p <= count && p < lines.size(); ++p)
        entries.append(packEntryOf(lines[p]));
    return entries;
}

} // namespace

void subCheckPack(FormState& st, const QString& inPacks, const DateValue& inDates) {
    if (!inDates)
        return;
    // A name holding a path names no pack folder, so nothing outside the car folder is looked at.
    const std::optional<fs::Path> folder = fs::singleName(inPacks);
    if (!folder || !fs::isFolder(st.appPath / *folder)) {
        st.strMessage += inPacks + QStringLiteral(" is not installed") + kLineEnd;
        return;
    }
    st.strMessage += inPacks + verdict(installedDate(st.appPath / *folder / "drivers.txt"), *inDates) + kLineEnd;
}

void subCheckPack(FormState& st, const QString& inPacks, const QString& inDates) {
    subCheckPack(st, inPacks, toDate(inDates));
}

void subCheckAllPacks(FormState& st, Ports& ui) {
    const std::optional<QByteArray> list = subDownloadFile(st, ui.inet1, kPackVersionList);
    if (!list) {
        st.strMessage = QStringLiteral("Sorry, I could not find the File I needed ") + kLineEnd +
                        QStringLiteral("to check the skin packs");
        ui.msgBox.msgBox(st.strMessage, QStringLiteral("Pack Status"));
        return;
    }
    const QList<PackEntry> entries = readEntries(*list);

    st.strMessage.clear();
    for (const PackEntry& entry : entries)
        st.strMessage += entry.name + QLatin1Char(':') + entry.dateText + kLineEnd;
    ui.msgBox.msgBox(st.strMessage, QStringLiteral("Packs In file"));

    st.strMessage.clear();
    for (const PackEntry& entry : entries)
        subCheckPack(st, entry.name, entry.dateText);
    ui.msgBox.msgBox(st.strMessage, QStringLiteral("Pack Status"));
}
