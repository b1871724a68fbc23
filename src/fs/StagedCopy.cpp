#include "fs/StagedCopy.h"

#include "fs/FileSystem.h"
#include "fs/HostFile.h"
#include "fs/Journal.h"
#include "fs/Log.h"
#include "fs/Mark.h"

#include <algorithm>

namespace fs {

namespace {

const Path kWorkFolder(".tarvok-work");
const Path kNewFiles("new");
const Path kOldFiles("old");
const Path kWholeSet("whole");
const Path kReplacedSet("replaced");
const Path kGoneSet("gone"); // the set kept before, replaced
const Path kJournal("journal");

bool isPlain(const Path& path, host::Kind kind) {
    return host::kindOfEntry(path) == kind;
}

// The folders a working folder may hold beside its files.
const Path kParts[] = {kNewFiles, kOldFiles, kWholeSet, kReplacedSet, kGoneSet};

// The working folder holds files, and the folders of its parts; nothing is followed out of it, and only what the
// marks name goes. A folder without its own mark, unless empty, is the member's; so is a link where one of its parts
// should be.
bool removeWorkFolder(const Path& work) {
    if (isOwnFolder(work))
        for (const Path& part : kParts)
            if (isPlain(work / part, host::Kind::Folder))
                removeOwnFiles(work / part);
    return removeOwnFiles(work);
}

// Whether a part of the working folder holds a file the program wrote there; the mark alone is none.
bool holdsFiles(const Path& part) {
    const QList<Path> names = host::entriesOf(part);
    return std::any_of(names.begin(), names.end(), [](const Path& name) { return !isMarkName(name); });
}

// Moves what is not a regular file from one folder to another: what the member put in a kept set stays with it
// wherever the program moves the set.
bool moveOddEntries(const Path& from, const Path& to) {
    bool moved = true;
    for (const Path& name : host::entriesOf(from))
        if (!isMarkName(name) && host::kindOfEntry(from / name) != host::Kind::RegularFile)
            moved = host::renameOver(from / name, to / name) && moved;
    return moved;
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
    for (const Path& name : names.value_or({}))
        if (anythingAt(work / kNewFiles / name) && !holdsAsNoted(work / kNewFiles, name))
            return Status::failed(QStringLiteral("%1 is not a file it wrote").arg(displayName(name)));
    return names;
}

// The name a kept set takes when `number` - 1 folders before it were the member's.
Path numbered(const Path& name, int number) {
    return number == 1 ? name : fromQt(QStringLiteral("%1 %2").arg(displayName(name)).arg(number));
}

// A set the program kept earlier, which the next one replaces: made by it here, and every file in it one it put
// there, unchanged. What else stands in it moves to the new set, unless a file of the new set has its name.
bool isReplaceableSet(const Path& folder, const Path& newSet) {
    if (!holdsOnlyOwnFiles(folder))
        return false;
    const QList<Path> names = host::entriesOf(folder);
    return std::none_of(names.begin(), names.end(), [&](const Path& name) {
        return !isMarkName(name) && host::kindOfEntry(folder / name) != host::Kind::RegularFile &&
               anythingAt(newSet / name);
    });
}

// How putting the kept sets in place ended: every set in place, or none, or, when what was moved could not all be
// moved back, some; then `failed` names the set that could not be moved.
struct KeptPlacing {
    bool placed = true;
    bool undone = true;
    Path failed;
    bool noRoom = false;
};

// Puts the kept sets beside the files placed: the whole set as it was, while nothing has its name, and what placing
// replaced, over the set the program kept there last, which goes with the working folder. Each step is a rename
// taken back when a later one fails.
KeptPlacing placeKeptSets(const Path& folder, const Path& work, const KeptSets& kept) {
    const Path whole = folder / kept.whole;
    bool wholeMoved = false;
    if (isPlain(work / kWholeSet, host::Kind::Folder)) {
        // Taken since the copy began, the name keeps what it holds; the cars it would have kept are kept all the same,
        // as the replaced set and the files the swap left.
        if (anythingAt(whole))
            qCWarning(fsLog).noquote() << "kept no copy of the cars as they were:" << displayName(whole)
                                       << "is there now";
        else if (!host::renameOver(work / kWholeSet, whole))
            return {false, true, kept.whole, host::lastFailure().noRoom()};
        else
            wholeMoved = true;
    }
    const Path replaced = work / kReplacedSet;
    const Path gone = work / kGoneSet;
    // Cut short as it replaced the set kept last, what the member had put in it joins the new set.
    if (isPlain(gone, host::Kind::Folder) && isPlain(replaced, host::Kind::Folder))
        moveOddEntries(gone, replaced);
    // A mark sealed before a cut left its temporary file: no file of the set.
    removeTemporaryFiles(replaced);
    QList<Path> files = host::entriesOf(replaced, host::Kind::RegularFile);
    files.removeIf([](const Path& name) { return isMarkName(name); });
    Path target;
    for (int number = 1; number <= 1000 && target.empty(); ++number)
        if (const Path name = folder / numbered(kept.replaced, number);
            !anythingAt(name) || isReplaceableSet(name, replaced))
            target = name;
    // The set kept last stays when nothing new is kept.
    const bool keeping = !files.isEmpty();
    const bool replacing = keeping && anythingAt(target);
    // The renames in the car folder are made durable by its sync before the journal goes; those into the replaced
    // set's folder, by its own. Sealed, the mark proves the kept files for as long as the set is kept.
    if (keeping && !target.empty() && sealMark(replaced).ok() &&
        (!replacing || (host::renameOver(target, gone) && moveOddEntries(gone, replaced))) &&
        host::renameOver(replaced, target)) {
        host::syncFolder(target);
        QStringList names;
        for (const Path& name : files)
            names.append(displayName(name));
        qCInfo(fsLog).noquote() << QStringLiteral("kept what it replaced in %1: %2")
                                       .arg(displayName(target), names.join(QStringLiteral(", ")));
    } else if (keeping) {
        const Status failure = host::lastFailure();
        qCWarning(fsLog).noquote() << "what it replaced could not be kept in" << displayName(target) << "-"
                                   << failure.reason();
        const bool undone = (!isPlain(gone, host::Kind::Folder) ||
                             (moveOddEntries(replaced, gone) && host::renameOver(gone, target))) &&
                            (!wholeMoved || host::renameOver(whole, work / kWholeSet));
        return {false, undone, kept.replaced, failure.noRoom()};
    }
    if (wholeMoved) {
        // The member's from now on: nothing in it is ever removed by the program.
        unmarkFolder(whole);
        qCInfo(fsLog).noquote() << "kept the cars as they were in" << displayName(whole);
    }
    return {};
}

// The copies of every part, and their names, are on the disk before a journal names them.
bool syncStaged(const Path& work) {
    for (const Path& part : {kNewFiles, kWholeSet, kReplacedSet})
        if (isPlain(work / part, host::Kind::Folder) && !host::syncStagedFolder(work / part))
            return false;
    return true;
}

} // namespace

bool placingWaits(const Path& folder) {
    const Path work = folder / kWorkFolder;
    return isOwnFolder(work) && isPlain(work / kJournal, host::Kind::RegularFile);
}

void removeCopiedFolder(const Path& folder) {
    if (isOwnFolder(folder))
        removeWorkFolder(folder / kWorkFolder);
    removeOwnFiles(folder);
}

StagedCopy::StagedCopy(Path folder, std::optional<KeptSets> kept)
    : folder_(std::move(folder)), work_(folder_ / kWorkFolder), kept_(std::move(kept)),
      aside_(work_ / (kept_ ? kReplacedSet : kOldFiles)), started_(Status::done()) {
    recover(folder_, kept_);
    folderIsOwn_ = isOwnFolder(folder_);
    if (anythingAt(work_) && !isOwnFolder(work_)) {
        inTheWay_ = work_;
        started_ = Status::failed(QStringLiteral("something the program did not make is in the way"));
    } else if (anythingAt(work_)) {
        // An earlier copy that could not be finished keeps its working folder until it is.
        waiting_ = true;
        started_ = Status::failed(QStringLiteral("an earlier copy waits to be finished"));
    } else if (Status made = makeOwnFolder(work_); !made.ok() || !(made = makeOwnFolder(work_ / kNewFiles)).ok() ||
                                                   (kept_ && !(made = makeOwnFolder(aside_)).ok())) {
        // Marked from the start, the replaced files' folder is the program's once it takes its name.
        started_ = made;
    }
}

StagedCopy::~StagedCopy() {
    // A journal still there marks placing that could not be undone: the next start finishes it. A working folder
    // that is not the program's stays as it is.
    if (!inTheWay_ && !waiting_ && !isFile(work_ / kJournal))
        removeWorkFolder(work_);
}

Status StagedCopy::stage(const Path& source, const Path& name, const std::function<bool(qint64)>& wrote, Part part) {
    if (!started_.ok())
        return started_;
    // A journal names only what the next start would take from one.
    if (!isSingleName(name) || isMarkName(name) || staged_.size() == kMaxSetFiles || (part != Part::Placed && !kept_))
        return Status::failed(QStringLiteral("not a name or a file a set of files can hold"));
    const Path into = part == Part::Placed ? work_ / kNewFiles : part == Part::Whole ? work_ / kWholeSet : aside_;
    if (!isPlain(into, host::Kind::Folder))
        if (const Status made = makeOwnFolder(into); !made.ok())
            return made;
    const std::unique_ptr<QFile> input = host::openRegularFile(source);
    if (!input)
        return failedToOpen(source);
    // Opened once, the file is copied for the size it had then and no further: one that grows or shrinks meanwhile,
    // or never ends, is no file to place.
    const qint64 size = input->size();
    const Path staged = into / name;
    if (const Status noted = noteArriving(into, name, size); !noted.ok())
        return noted;
    Status status = Status::done();
    {
        const std::unique_ptr<QFile> output = host::createNewFile(staged);
        if (!output)
            return host::lastFailure();
        host::copyPermissions(*input, *output);
        const qint64 copied = host::copyContents(*input, *output, size, wrote);
        char more = 0;
        if (copied < 0)
            status = host::lastFailure();
        else if (copied != size || input->read(&more, 1) != 0)
            status = Status::failed(QStringLiteral("changed while it was being copied"));
        else if (!host::syncStagedFile(*output))
            status = host::lastFailure();
    }
    if (!status.ok())
        host::removeFile(staged);
    else if (part == Part::Placed)
        staged_.append(name);
    return status;
}

QList<Blocked> StagedCopy::place() {
    QList<Blocked> blocked;
    for (const Path& name : std::as_const(staged_))
        if (const std::optional<Obstacle> why = host::obstacleTo(folder_ / name))
            blocked.append({name, *why});
    if (!blocked.isEmpty() || staged_.isEmpty())
        return blocked;

    const auto everyFile = [this](const Status& status) {
        QList<Blocked> all;
        for (const Path& name : std::as_const(staged_))
            all.append({name, status.noRoom() ? Obstacle::NoRoom : Obstacle::Failed});
        return all;
    };
    // From the journal on, the next start finishes what a cut here leaves half done; the staged files must
    // be on the disk before it.
    if (!syncStaged(work_))
        return everyFile(host::lastFailure());
    const QByteArray journal = journalOf(staged_);
    Status ready = noteArriving(work_, kJournal, journal.size());
    if (!ready.ok() || !(ready = writeWhole(work_ / kJournal, journal)).ok() || !host::syncFolder(work_) ||
        (!kept_ && !(ready = makeOwnFolder(aside_)).ok())) {
        const Status failure = ready.ok() ? host::lastFailure() : ready;
        // Nothing is placed yet: without its journal the next start undoes the copy, as the member is told.
        host::removeFile(work_ / kJournal);
        return everyFile(failure);
    }

    QList<std::pair<Path, Path>> aside; // each file moved out of the way, and the folder it went to
    QList<Path> placed;
    for (const Path& name : std::as_const(staged_)) {
        const Path target = folder_ / name;
        if (anythingAt(target)) {
            // A link is no file to keep: the swap kept a copy of what it led to.
            const Path to = kept_ && isLink(target) ? work_ / kOldFiles : aside_;
            const std::optional<host::Identity> identity = host::identityOf(target);
            if ((!isPlain(to, host::Kind::Folder) && !makeOwnFolder(to).ok()) ||
                !noteArriving(to, name, sizeOf(target), identity).ok() || !host::renameOver(target, to / name)) {
                const Status failure = host::lastFailure();
                qCWarning(fsLog).noquote()
                    << QStringLiteral("%1 could not be moved aside: %2").arg(displayName(target), failure.reason());
                const Obstacle why =
                    failure.noRoom() ? Obstacle::NoRoom : host::obstacleTo(target).value_or(Obstacle::Failed);
                undoPlacing(aside, placed);
                return {{name, why}};
            }
            aside.append({name, to});
        }
        const Path staged = work_ / kNewFiles / name;
        if ((folderIsOwn_ && !noteArriving(folder_, name, sizeOf(staged), host::identityOf(staged)).ok()) ||
            !host::renameOver(staged, target)) {
            const Status failure = host::lastFailure();
            qCWarning(fsLog).noquote()
                << QStringLiteral("%1 could not be put in place: %2").arg(displayName(target), failure.reason());
            undoPlacing(aside, placed);
            return {{name, failure.noRoom() ? Obstacle::NoRoom : Obstacle::Failed}};
        }
        placed.append(name);
    }
    if (const KeptPlacing keeping = kept_ ? placeKeptSets(folder_, work_, *kept_) : KeptPlacing{}; !keeping.placed) {
        // What cannot be taken back is finished at the next start, as the journal says.
        if (keeping.undone)
            undoPlacing(aside, placed);
        return {{keeping.failed, keeping.noRoom ? Obstacle::NoRoom : Obstacle::Failed}};
    }
    host::syncFolder(folder_);
    host::removeFile(work_ / kJournal);
    return {};
}

void StagedCopy::undoPlacing(const QList<std::pair<Path, Path>>& asideNames, const QList<Path>& placedNames) {
    // A new file that cannot be taken back stays, and so does its old one: put back over it, the old file would
    // leave the next start no copy of the new one to finish with.
    QList<Path> stuck;
    for (const Path& name : placedNames)
        if (!host::renameOver(folder_ / name, work_ / kNewFiles / name))
            stuck.append(name);
    bool undone = stuck.isEmpty();
    for (const auto& [name, from] : asideNames)
        if (!stuck.contains(name))
            undone = host::renameOver(from / name, folder_ / name) && undone;
    // Undone in part, the set goes forward at the next start, as the journal says.
    if (undone && host::syncFolder(folder_)) {
        host::removeFile(work_ / kJournal);
    } else {
        const QString reason = host::lastError();
        qCWarning(fsLog).noquote()
            << QStringLiteral("the files placed in %1 could not all be put back: %2").arg(displayName(folder_), reason);
    }
}

Recovery recover(const Path& folder, const std::optional<KeptSets>& kept) {
    removeTemporaryFiles(folder);
    const Path work = folder / kWorkFolder;
    // What the program did not make stays, and is no leftover; an empty folder holds nothing to lose. A mark that was
    // not made here came with a copy, and nothing it names is taken for the program's.
    if (!isOwnFolder(work)) {
        if (removeOwnFiles(work) || !bearsMark(work))
            return {};
        return setAside(work, QStringLiteral("its mark was not made for it here"));
    }
    for (const Path& part : kParts)
        if (anythingAt(work / part) && !isOwnFolder(work / part) && !removeOwnFiles(work / part))
            return setAside(work, displayName(part) + QStringLiteral(" in it is not a folder the program made"));
    if (!anythingAt(work / kJournal)) {
        // With nothing written yet, or everything placed and only the clearing up left, there is nothing to undo.
        const bool written = holdsFiles(work / kNewFiles) || holdsFiles(work / kWholeSet);
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
    // Every file the journal names was written whole and synced before it: put the rest in place, the files they
    // replace kept where the copy keeps them.
    const Path aside = work / kReplacedSet;
    const bool keeping = kept && isPlain(aside, host::Kind::Folder);
    QList<Blocked> unplaced;
    for (const Path& name : *names) {
        const Path staged = work / kNewFiles / name;
        if (!anythingAt(staged))
            continue;
        const Path target = folder / name;
        const bool keep = keeping && isPlain(target, host::Kind::RegularFile) && !anythingAt(aside / name);
        if ((keep && (!noteArriving(aside, name, sizeOf(target), host::identityOf(target)).ok() ||
                      !host::renameOver(target, aside / name))) ||
            !host::renameOver(staged, target)) {
            const QString reason = host::lastError();
            qCWarning(fsLog).noquote() << QStringLiteral("%1 could not be put in place, to finish a copy cut short: %2")
                                              .arg(displayName(folder / name), reason);
            unplaced.append({name, host::obstacleTo(folder / name).value_or(Obstacle::Failed)});
        }
    }
    if (const KeptPlacing sets = keeping && unplaced.isEmpty() ? placeKeptSets(folder, work, *kept) : KeptPlacing{};
        !sets.placed)
        unplaced.append({sets.failed, Obstacle::Failed});
    if (!unplaced.isEmpty())
        return {Recovery::Unfinished, unplaced};
    host::syncFolder(folder);
    removeWorkFolder(work);
    qCInfo(fsLog).noquote() << QStringLiteral("finished a copy into %1 that was cut short").arg(displayName(folder));
    return Recovery::Finished;
}

} // namespace fs
