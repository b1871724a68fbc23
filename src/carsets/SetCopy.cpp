#include "carsets/SetCopy.h"

#include "carsets/Log.h"
#include "fs/FileSystem.h"

namespace carsets {

QString obstacleText(fs::Obstacle why) {
    switch (why) {
    case fs::Obstacle::InUse:
        return QStringLiteral("in use by another program");
    case fs::Obstacle::ReadOnly:
        return QStringLiteral("marked read-only");
    case fs::Obstacle::Folder:
        return QStringLiteral("a folder of that name is in the way");
    case fs::Obstacle::Denied:
        return QStringLiteral("the system does not let it be replaced");
    case fs::Obstacle::Failed:
        break;
    }
    return QStringLiteral("could not be put in place");
}

SetCopy::SetCopy(const fs::Path& into, const CopyWatch& watch, const std::optional<fs::KeptSets>& kept)
    : staged_(into, kept), watch_(watch), kept_(kept) {}

void SetCopy::announce(const QList<SetFiles>& files) const {
    if (!watch_.starting)
        return;
    int count = 0;
    qint64 bytes = 0;
    for (const SetFiles& part : files) {
        count += static_cast<int>(part.names.size());
        for (const fs::Path& name : part.names)
            bytes += fs::sizeOf(part.from / name);
    }
    watch_.starting(count, bytes);
}

bool SetCopy::stage(const QList<SetFiles>& files) {
    const auto givenUp = [this] { return watch_.cancelled && watch_.cancelled(); };
    for (const SetFiles& part : files)
        for (const fs::Path& name : part.names) {
            // The description kept with the replaced files is a copy of one already counted.
            const auto progress = [&](qint64 bytes, int done) {
                if (watch_.progress && part.part != fs::Part::Replaced)
                    watch_.progress(bytes, done);
            };
            qint64 reported = 0;
            const fs::Status status = staged_.stage(
                part.from / name, name,
                [&](qint64 done) {
                    progress(done - reported, 0);
                    reported = done;
                    return !givenUp();
                },
                part.part);
            if (givenUp()) {
                qCInfo(carsetsLog) << "the member cancelled: the files copied so far are removed";
                return false;
            }
            // A file that vanished since the folder was listed is named too: nothing goes missing in silence.
            if (!status.ok()) {
                qCWarning(carsetsLog).noquote() << QStringLiteral("%1 could not be copied: %2")
                                                       .arg(fs::displayName(part.from / name), status.reason());
                // A kept set's file is named with its folder, apart from the cars themselves.
                const fs::Path shown = part.part == fs::Part::Placed  ? name
                                       : part.part == fs::Part::Whole ? kept_->whole / name
                                                                      : kept_->replaced / name;
                report_.failedFiles.append(fs::displayName(shown) + (status.noRoom()
                                                                         ? QStringLiteral(" (no room left on the disk)")
                                                                         : QString()));
            }
            progress(0, 1);
        }
    return true;
}

CopyReport SetCopy::place(const QString& unchanged) {
    // Without one of its files the set would be a mix of the old and the new.
    if (!report_.failedFiles.isEmpty()) {
        report_.notes.append(unchanged);
        return report_;
    }
    const QList<fs::Blocked> blocked = staged_.place();
    report_.placed = blocked.isEmpty();
    return report_.placed ? report_ : notPlaced(report_.failedFiles, blocked, unchanged);
}

CopyReport notPlaced(const QStringList& failedFiles, const QList<fs::Blocked>& blocked, const QString& unchanged) {
    CopyReport report{false, false, failedFiles, {}, {}};
    bool inUse = false;
    for (const fs::Blocked& file : blocked) {
        qCWarning(carsetsLog).noquote() << QStringLiteral("%1 is in the way, %2: nothing was put in place")
                                               .arg(fs::displayName(file.name), obstacleText(file.why));
        report.failedFiles.append(fs::displayName(file.name) + QStringLiteral(" (") + obstacleText(file.why) +
                                  QLatin1Char(')'));
        inUse = inUse || file.why == fs::Obstacle::InUse;
    }
    if (inUse)
        report.notes.append(QStringLiteral("The game may be running: close it and try again."));
    report.notes.append(unchanged);
    return report;
}

std::optional<CopyReport> SetCopy::refusal(const QString& unchanged) const {
    return staged_.inTheWay() ? std::optional(refused(inTheWayText(*staged_.inTheWay()), unchanged)) : std::nullopt;
}

CopyReport refused(const QString& why, const QString& unchanged) {
    qCWarning(carsetsLog).noquote() << "nothing was copied:" << why;
    return {false, false, {}, {unchanged}, why};
}

QString inTheWayText(const fs::Path& what) {
    return QStringLiteral("\"%1\" is in the way: Tarvok Car Manager copies through a folder of that name, but did "
                          "not make this one, so it leaves it as it is. Move it out of the car folder, then try again.")
        .arg(fs::displayName(what));
}

QString failedCopiesText(const CopyReport& report) {
    const QString lineEnd = QStringLiteral("\r\n");
    if (!report.refused.isEmpty())
        return report.refused + lineEnd + lineEnd + report.notes.join(lineEnd);
    if (report.failedFiles.isEmpty())
        return {};
    QString text = QStringLiteral("Some files could not be copied:") + lineEnd + report.failedFiles.join(lineEnd);
    if (!report.notes.isEmpty())
        text += lineEnd + lineEnd + report.notes.join(lineEnd);
    return text;
}

} // namespace carsets
