#include "fs/StagedCopy.h"

#include "fs/FileSystem.h"
#include "fs/HostFile.h"
#include "fs/Log.h"

namespace fs {

namespace {

const Path kWorkFolder(".tarvok-work");
const Path kNewFiles("new");
const Path kOldFiles("old");
const Path kJournal("journal");

// Names cannot hold a NUL, so it separates them whatever bytes they hold.
QByteArray journalOf(const QList<Path>& names) {
    QByteArray journal;
    for (const Path& name : names)
        journal += host::bytesOfName(name) + '\0';
    return journal;
}

QList<Path> namesInJournal(const QByteArray& journal) {
    QList<Path> names;
    for (const QByteArray& name : journal.split('\0'))
        if (!name.isEmpty())
            names.append(host::nameOfBytes(name));
    return names;
}

void removeFilesIn(const Path& folder) {
    for (const Path& name : host::entriesOf(folder))
        host::removeFile(folder / name);
}

// The working folder holds files, and the two folders of new and old files; nothing is followed out of it.
void removeWorkFolder(const Path& work) {
    for (const Path& part : {kNewFiles, kOldFiles}) {
        removeFilesIn(work / part);
        host::removeFolder(work / part);
    }
    removeFilesIn(work);
    host::removeFolder(work);
}

void removeTemporaryFiles(const Path& folder) {
    for (const Path& name : host::entriesOf(folder, host::Kind::RegularFile))
        if (isTemporaryName(name))
            host::removeFile(folder / name);
}

} // namespace

bool isWorkFolderName(const Path& name) {
    return name == kWorkFolder;
}

bool placingWaits(const Path& folder) {
    return isFile(folder / kWorkFolder / kJournal);
}

void removeCopiedFolder(const Path& folder) {
    removeWorkFolder(folder / kWorkFolder);
    removeFilesIn(folder);
    host::removeFolder(folder);
}

StagedCopy::StagedCopy(Path folder)
    : folder_(std::move(folder)), work_(folder_ / kWorkFolder), started_(Status::done()) {
    recover(folder_);
    if (!host::makeFolder(work_) || !host::makeFolder(work_ / kNewFiles))
        started_ = Status::failed(host::lastError());
}

StagedCopy::~StagedCopy() {
    // A journal still there marks placing that could not be undone: the next start finishes it.
    if (!isFile(work_ / kJournal))
        removeWorkFolder(work_);
}

Status StagedCopy::stage(const Path& source, const Path& name, const std::function<bool(qint64)>& wrote) {
    if (!started_.ok())
        return started_;
    const std::unique_ptr<QFile> input = host::openRegularFile(source);
    if (!input)
        return failedToOpen(source);
    const Path staged = work_ / kNewFiles / name;
    Status status = Status::done();
    {
        const std::unique_ptr<QFile> output = host::createNewFile(staged);
        if (!output)
            return Status::failed(host::lastError());
        host::copyPermissions(*input, *output);
        if (!host::copyContents(*input, *output, wrote) || !host::syncStagedFile(*output))
            status = Status::failed(host::lastError());
    }
    if (status.ok())
        staged_.append(name);
    else
        host::removeFile(staged);
    return status;
}

QList<Blocked> StagedCopy::place() {
    QList<Blocked> blocked;
    for (const Path& name : std::as_const(staged_))
        if (const std::optional<Obstacle> why = host::obstacleTo(folder_ / name))
            blocked.append({name, *why});
    if (!blocked.isEmpty() || staged_.isEmpty())
        return blocked;

    const auto everyFile = [this](Obstacle why) {
        QList<Blocked> all;
        for (const Path& name : std::as_const(staged_))
            all.append({name, why});
        return all;
    };
    // From the journal on, the next start finishes what a cut here leaves half done; the staged files must
    // be on the disk before it.
    if (!host::syncStagedFolder(work_ / kNewFiles) || !writeWhole(work_ / kJournal, journalOf(staged_)).ok() ||
        !host::syncFolder(work_) || !host::makeFolder(work_ / kOldFiles))
        return everyFile(Obstacle::Failed);

    QList<Path> aside;
    QList<Path> placed;
    for (const Path& name : std::as_const(staged_)) {
        const Path target = folder_ / name;
        if (host::kindOf(target) != host::Kind::Missing) {
            if (!host::renameOver(target, work_ / kOldFiles / name)) {
                qCWarning(fsLog).noquote()
                    << QStringLiteral("%1 could not be moved aside: %2").arg(displayName(target), host::lastError());
                const Obstacle why = host::obstacleTo(target).value_or(Obstacle::Failed);
                undoPlacing(aside, placed);
                return {{name, why}};
            }
            aside.append(name);
        }
        if (!host::renameOver(work_ / kNewFiles / name, target)) {
            qCWarning(fsLog).noquote()
                << QStringLiteral("%1 could not be put in place: %2").arg(displayName(target), host::lastError());
            undoPlacing(aside, placed);
            return {{name, Obstacle::Failed}};
        }
        placed.append(name);
    }
    host::syncFolder(folder_);
    host::removeFile(work_ / kJournal);
    return {};
}

void StagedCopy::undoPlacing(const QList<Path>& asideNames, const QList<Path>& placedNames) {
    // A new file that cannot be taken back stays, and so does its old one: put back over it, the old file would
    // leave the next start no copy of the new one to finish with.
    QList<Path> stuck;
    for (const Path& name : placedNames)
        if (!host::renameOver(folder_ / name, work_ / kNewFiles / name))
            stuck.append(name);
    bool undone = stuck.isEmpty();
    for (const Path& name : asideNames)
        if (!stuck.contains(name))
            undone = host::renameOver(work_ / kOldFiles / name, folder_ / name) && undone;
    // Undone in part, the set goes forward at the next start, as the journal says.
    if (undone && host::syncFolder(folder_))
        host::removeFile(work_ / kJournal);
    else
        qCWarning(fsLog).noquote() << QStringLiteral("the files placed in %1 could not all be put back: %2")
                                          .arg(displayName(folder_), host::lastError());
}

Recovery recover(const Path& folder) {
    removeTemporaryFiles(folder);
    const Path work = folder / kWorkFolder;
    if (!isFolder(work))
        return Recovery::NothingLeft;
    const Result<QByteArray> journal = readHead(work / kJournal, 64 * 1024 * 1024);
    if (!journal) {
        // With nothing written yet, or everything placed and only the clearing up left, there is nothing to undo.
        const bool written = !host::entriesOf(work / kNewFiles).isEmpty();
        removeWorkFolder(work);
        if (written)
            qCInfo(fsLog).noquote()
                << QStringLiteral("removed the files of a copy into %1 that was cut short").arg(displayName(folder));
        return written ? Recovery::Undone : Recovery::NothingLeft;
    }
    // Every file the journal names was written whole and synced before it: put the rest in place.
    for (const Path& name : namesInJournal(*journal)) {
        const Path staged = work / kNewFiles / name;
        if (host::kindOf(staged) != host::Kind::Missing && !host::renameOver(staged, folder / name)) {
            qCWarning(fsLog).noquote() << QStringLiteral("%1 could not be put in place, to finish a copy cut short: %2")
                                              .arg(displayName(folder / name), host::lastError());
            return Recovery::Unfinished;
        }
    }
    host::syncFolder(folder);
    removeWorkFolder(work);
    qCInfo(fsLog).noquote() << QStringLiteral("finished a copy into %1 that was cut short").arg(displayName(folder));
    return Recovery::Finished;
}

} // namespace fs
