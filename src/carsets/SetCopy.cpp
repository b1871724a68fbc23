#include "carsets/SetCopy.h"

#include "carsets/Log.h"
#include "fs/FileSystem.h"
#include "fs/Journal.h"

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
    case fs::Obstacle::NoRoom:
        return QStringLiteral("no room left on the disk");
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
    qsizetype count = 0;
    for (const SetFiles& part : files)
        count += part.part == fs::Part::Placed ? part.names.size() : 0;
    // Named once, with the count: a list of the thousands past it would hide why.
    if (count > fs::kMaxSetFiles) {
        report_.refused = QStringLiteral("The set to copy has %1 files, more than the %2 that Tarvok Car Manager "
                                         "copies at once, so it copied none of them.")
                              .arg(count)
                              .arg(fs::kMaxSetFiles);
        return true;
    }
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
    if (!report_.refused.isEmpty())
        return refused(report_.refused, unchanged);
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
    if (staged_.inTheWay())
        return refused(inTheWayText(*staged_.inTheWay()), unchanged);
    if (staged_.waiting())
        return refused(QStringLiteral("A swap or backup that was cut short could not be finished yet, so nothing new "
                                      "can be copied until it is. Close the game if it is running, then start Tarvok "
                                      "Car Manager again to finish it."),
                       unchanged);
    if (const fs::Status& started = staged_.started(); !started.ok())
        return cannotMakeFolder(started, unchanged);
    return std::nullopt;
}

QString failureText(const fs::Status& failure) {
    return failure.noRoom() ? obstacleText(fs::Obstacle::NoRoom) : failure.reason();
}

CopyReport cannotMakeFolder(const fs::Status& why, const QString& unchanged) {
    return refused(
        QStringLiteral("Tarvok Car Manager could not make the folder it copies through (%1).").arg(failureText(why)),
        unchanged);
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

namespace {

const QString kOutside = QStringLiteral("is a link to a place outside the car folder");

} // namespace

QString outsideText(const fs::Path& shown) {
    return fs::displayName(shown) + QLatin1Char(' ') + kOutside;
}

std::optional<CopyReport> linksOutside(const fs::Path& carFolder, const QList<fs::Path>& files,
                                       const QString& unchanged) {
    QStringList outside;
    for (const fs::Path& file : files)
        if (const fs::Path shown = file.lexically_relative(carFolder); fs::leadsOutside(carFolder, file)) {
            qCWarning(carsetsLog).noquote() << outsideText(shown) << "- it is not read, and nothing was copied";
            outside.append(fs::displayName(shown) + QStringLiteral(" (") + kOutside + QLatin1Char(')'));
        }
    if (outside.isEmpty())
        return std::nullopt;
    return CopyReport{false, false, outside, {unchanged}, {}};
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
