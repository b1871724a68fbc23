#include "fs/StagedCopy.h"

#include "fs/FileSystem.h"
#include "fs/HostFile.h"
#include "fs/Journal.h"
#include "fs/Log.h"

namespace fs {

namespace {

const Path kWorkFolder(".tarvok-work");
const Path kNewFiles("new");
const Path kOldFiles("old");
const Path kJournal("journal");
// Made first in each folder of the program's own and removed last, so a folder holding it is the program's.
const Path kMark(".tarvok-made");

bool isPlain(const Path& path, host::Kind kind) {
    return host::kindOfEntry(path) == kind;
}

// Only the files of a folder itself go: a folder or a link inside it stays, and so does the folder then.
void removeFilesIn(const Path& folder) {
    const QList<Path> names = host::entriesOf(folder);
    for (const Path& name : names)
        if (name != kMark && isPlain(folder / name, host::Kind::RegularFile))
            host::removeFile(folder / name);
    if (names.contains(kMark))
        host::removeFile(folder / kMark);
}

// The working folder holds files, and the two folders of new and old files; nothing is followed out of it. A
// folder without the mark, unless empty, is the member's; so is a link where one of its parts should be.
bool removeWorkFolder(const Path& work) {
    if (isOwnFolder(work)) {
        for (const Path& part : {kNewFiles, kOldFiles})
            if (isPlain(work / part, host::Kind::Folder)) {
                removeFilesIn(work / part);
                host::removeFolder(work / part);
            }
        removeFilesIn(work);
    }
    if (isPlain(work, host::Kind::Folder))
        host::removeFolder(work);
    return !anythingAt(work);
}

void removeTemporaryFiles(const Path& folder) {
    for (const Path& name : host::entriesOf(folder, host::Kind::RegularFile))
        if (isTemporaryName(name))
            host::removeFile(folder / name);
}

// Moves a working folder the program cannot finish out of the way, under a name no other folder has, so the
// next copy can make its own.
Recovery setAside(const Path& work, const QString& why) {
    qCWarning(fsLog).noquote()
        << QStringLiteral("%1 is set aside, and nothing it names is touched: %2").arg(displayName(work), why);
    Recovery found(Recovery::SetAside);
    found.workFolder = work;
    for (int number = 1; number <= 1000 && found.setAsideAs.empty(); ++number) {
        const Path free = work.parent_path() / fromQt(QStringLiteral("tarvok-work-set-aside-%1").arg(number));
        if (!anythingAt(free)) {
            if (const Status moved = moveFolder(work, free); moved.ok())
                found.setAsideAs = free;
            else
                qCWarning(fsLog).noquote() << displayName(work) << "could not be renamed:" << moved.reason();
            break;
        }
    }
    return found;
}

// The names the journal of an own working folder lists, each a file of the copy written before it or already
// placed; a reason for anything else.
Result<QList<Path>> readJournal(const Path& work) {
    if (!isPlain(work / kJournal, host::Kind::RegularFile))
        return Status::failed(QStringLiteral("its journal is not a file"));
    const Result<QByteArray> bytes = readHead(work / kJournal, kMaxJournalBytes + 1);
    if (!bytes)
        return Status::failed(QStringLiteral("its journal cannot be read: ") + bytes.status().reason());
    Result<QList<Path>> names = namesInJournal(*bytes);
    for (const Path& name : names.value_or({})) {
        const host::Kind kind = host::kindOfEntry(work / kNewFiles / name);
        if (kind != host::Kind::Missing && kind != host::Kind::RegularFile)
            return Status::failed(QStringLiteral("%1 is not a file it wrote").arg(displayName(name)));
    }
    return names;
}

} // namespace

bool isWorkFolderName(const Path& name) {
    return name == kWorkFolder;
}

bool placingWaits(const Path& folder) {
    const Path work = folder / kWorkFolder;
    return isOwnFolder(work) && isPlain(work / kJournal, host::Kind::RegularFile);
}

bool isOwnFolder(const Path& folder) {
    return isPlain(folder, host::Kind::Folder) && isPlain(folder / kMark, host::Kind::RegularFile);
}

Status makeOwnFolder(const Path& folder) {
    if (!host::makeFolder(folder) || !host::createNewFile(folder / kMark))
        return Status::failed(host::lastError());
    return Status::done();
}

void unmarkFolder(const Path& folder) {
    if (isPlain(folder, host::Kind::Folder))
        host::removeFile(folder / kMark);
}

void removeCopiedFolder(const Path& folder) {
    if (isOwnFolder(folder)) {
        removeWorkFolder(folder / kWorkFolder);
        removeFilesIn(folder);
    }
    if (isPlain(folder, host::Kind::Folder))
        host::removeFolder(folder);
}

StagedCopy::StagedCopy(Path folder)
    : folder_(std::move(folder)), work_(folder_ / kWorkFolder), started_(Status::done()) {
    recover(folder_);
    if (anythingAt(work_) && !isOwnFolder(work_)) {
        inTheWay_ = work_;
        started_ = Status::failed(QStringLiteral("something the program did not make is in the way"));
    } else if (!makeOwnFolder(work_).ok() || !host::makeFolder(work_ / kNewFiles)) {
        started_ = Status::failed(host::lastError());
    }
}

StagedCopy::~StagedCopy() {
    // A journal still there marks placing that could not be undone: the next start finishes it. A working folder
    // that is not the program's stays as it is.
    if (!inTheWay_ && !isFile(work_ / kJournal))
        removeWorkFolder(work_);
}

Status StagedCopy::stage(const Path& source, const Path& name, const std::function<bool(qint64)>& wrote) {
    if (!started_.ok())
        return started_;
    // A journal names only what the next start would take from one.
    if (!isSingleName(name) || staged_.size() == kMaxSetFiles)
        return Status::failed(QStringLiteral("not a name or a file a set of files can hold"));
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
    // What the program did not make stays, and is no leftover; an empty folder holds nothing to lose.
    if (!isOwnFolder(work)) {
        if (isPlain(work, host::Kind::Folder))
            host::removeFolder(work);
        return {};
    }
    for (const Path& part : {kNewFiles, kOldFiles})
        if (anythingAt(work / part) && !isPlain(work / part, host::Kind::Folder))
            return setAside(work, displayName(part) + QStringLiteral(" in it is not a folder the program made"));
    if (!anythingAt(work / kJournal)) {
        // With nothing written yet, or everything placed and only the clearing up left, there is nothing to undo.
        const bool written =
            isPlain(work / kNewFiles, host::Kind::Folder) && !host::entriesOf(work / kNewFiles).isEmpty();
        if (!removeWorkFolder(work))
            return setAside(work, QStringLiteral("it holds what this program does not put there"));
        if (written)
            qCInfo(fsLog).noquote()
                << QStringLiteral("removed the files of a copy into %1 that was cut short").arg(displayName(folder));
        return written ? Recovery::Undone : Recovery::NothingLeft;
    }
    const Result<QList<Path>> names = readJournal(work);
    if (!names)
        return setAside(work, names.status().reason());
    // Every file the journal names was written whole and synced before it: put the rest in place.
    QList<Blocked> unplaced;
    for (const Path& name : *names) {
        const Path staged = work / kNewFiles / name;
        if (anythingAt(staged) && !host::renameOver(staged, folder / name)) {
            qCWarning(fsLog).noquote() << QStringLiteral("%1 could not be put in place, to finish a copy cut short: %2")
                                              .arg(displayName(folder / name), host::lastError());
            unplaced.append({name, host::obstacleTo(folder / name).value_or(Obstacle::Failed)});
        }
    }
    if (!unplaced.isEmpty())
        return {Recovery::Unfinished, unplaced};
    host::syncFolder(folder);
    removeWorkFolder(work);
    qCInfo(fsLog).noquote() << QStringLiteral("finished a copy into %1 that was cut short").arg(displayName(folder));
    return Recovery::Finished;
}

} // namespace fs
