#include "carsets/Install.h"

#include "carsets/ArchivePacks.h"
#include "carsets/Catalogue.h"
#include "carsets/Log.h"
#include "carsets/SetFile.h"
#include "fs/FileSystem.h"
#include "fs/HostFile.h"
#include "fs/Journal.h"
#include "fs/Mark.h"
#include "fs/Tree.h"

namespace carsets {

namespace {

const fs::Path kWorkFolder(".tarvok-install");
const fs::Path kUnpacked("unpacked");
const fs::Path kNew("new"); // each pack's folder, under its name, once unpacked whole
const fs::Path kOld("old"); // each release replaced
const fs::Path kJournal("journal");

bool isPlain(const fs::Path& path, fs::host::Kind kind) {
    return fs::host::kindOfEntry(path) == kind;
}

QString descriptionOf(const fs::Path& folder) {
    return text::packDescription(readSetFile(folder / kDriversTxt).asOptional());
}

// What a refusal of the archive's tells of it.
QString refusalText(const archives::Refusal& refusal) {
    if (refusal.entry.isEmpty())
        return QStringLiteral("it ") + refusal.reason;
    return QStringLiteral("its entry \"%1\" %2").arg(refusal.entry, refusal.reason);
}

// Why the archive's packs cannot be told apart in the car folder; empty when they can.
QString nameFaultText(const ArchivePack& pack) {
    switch (pack.fault) {
    case NameFault::NotAName:
        return QStringLiteral("its skinpack \"%1\" has a name Windows cannot give a folder").arg(pack.name);
    case NameFault::Repeated:
        return QStringLiteral("it holds two skinpacks named \"%1\"").arg(pack.name);
    case NameFault::ProgramFolder:
        return QStringLiteral("its skinpack \"%1\" has the name of a folder Tarvok Car Manager keeps for itself")
            .arg(pack.name);
    case NameFault::None:
        break;
    }
    // A hidden folder is never listed, so such a pack could never be swapped in.
    if (!mayBePack(pack.name))
        return QStringLiteral("its skinpack \"%1\" has a name that starts with a full stop, which the list never shows")
            .arg(pack.name);
    return {};
}

// What holds the name of a pack in the car folder, when it is no installed release; empty when nothing does or one
// does.
QString inTheWayOf(const fs::Path& target) {
    switch (fs::host::kindOfEntry(target)) {
    case fs::host::Kind::Missing:
        return {};
    case fs::host::Kind::Link:
        return QStringLiteral("is a link");
    case fs::host::Kind::Folder:
        if (fs::bearsMark(target))
            return QStringLiteral("is a folder Tarvok Car Manager made for itself");
        return isPlain(target / kDriversTxt, fs::host::Kind::RegularFile)
                   ? QString()
                   : QStringLiteral("is a folder without a drivers.txt");
    default:
        return QStringLiteral("is a file");
    }
}

// The working folder's parts, then its journal, then the rest: a kill on the way leaves the journal to tell the next
// start that placing was done.
void removeWorkFolder(const fs::Path& work) {
    for (const fs::Path& part : {kUnpacked, kNew, kOld})
        fs::removeTree(work / part);
    fs::host::removeFile(work / kJournal);
    fs::removeTree(work);
}

} // namespace

Install::Install(fs::Path carFolder, fs::Path archive, const archives::UnpackLimits& limits)
    : carFolder_(std::move(carFolder)), archive_(std::move(archive)), work_(carFolder_ / kWorkFolder), limits_(limits) {
}

Install::~Install() {
    clear();
}

void Install::clear() {
    if (made_ && !waiting_ && fs::isOwnFolder(work_))
        removeWorkFolder(work_);
    made_ = false;
}

InstallStep Install::refused(const QString& why) const {
    const QString text =
        QStringLiteral("Nothing was installed from \"%1\": %2.").arg(fs::displayName(archive_.filename()), why);
    qCWarning(carsetsLog).noquote() << text;
    return {false, text};
}

InstallStep Install::unpack(const CopyWatch& watch) {
    const InstallStep step = stage(watch);
    if (step.cancelled || !step.refused.isEmpty())
        clear();
    return step;
}

InstallStep Install::stage(const CopyWatch& watch) {
    // Told first, so the member can give up while the working folder is made.
    const qint64 size = fs::sizeOf(archive_);
    if (watch.starting)
        watch.starting(1, size);
    recoverInstall(carFolder_);
    if (fs::anythingAt(work_))
        return refused(fs::isOwnFolder(work_)
                           ? QStringLiteral("an install that was cut short waits to be finished. Close the game if it "
                                            "is running, then start Tarvok Car Manager again to finish it")
                           : inTheWayText(work_).chopped(1));
    fs::Status made = fs::makeOwnFolder(work_);
    made_ = made.ok();
    if (made.ok() && (!fs::host::makeFolder(work_ / kUnpacked) || !fs::host::makeFolder(work_ / kNew)))
        made = fs::host::lastFailure();
    if (!made.ok())
        return refused(
            QStringLiteral("Tarvok Car Manager could not make the folder it unpacks into (%1)").arg(failureText(made)));

    qint64 reported = 0;
    const auto givenUp = [&watch] { return watch.cancelled && watch.cancelled(); };
    const archives::UnpackWatch unpackWatch{[&](qint64, qint64 read) {
                                                // A format that goes back for some counts them again.
                                                read = std::min(read, size);
                                                if (watch.progress && read > reported)
                                                    watch.progress(read - reported, 0);
                                                reported = std::max(read, reported);
                                            },
                                            givenUp};
    const archives::Unpacked unpacked = archives::unpack(archive_, work_ / kUnpacked, unpackWatch, limits_);
    if (unpacked.cancelled) {
        qCInfo(carsetsLog).noquote() << "the member cancelled the install of" << fs::displayName(archive_);
        return {true, {}};
    }
    if (unpacked.refusal)
        return refused(refusalText(*unpacked.refusal));
    if (watch.progress) // the archive, the one file this step counts, has been read
        watch.progress(0, 1);

    QList<fs::Path> files;
    for (const archives::UnpackedFile& file : unpacked.files)
        files.append(file.path);
    const ArchivePacks found = findArchivePacks(files, archive_);
    for (const fs::Path& file : found.leftOut)
        qCInfo(carsetsLog).noquote() << QStringLiteral("left out of %1: %2, which lies in no skinpack's folder")
                                            .arg(fs::displayName(archive_), fs::displayName(file));
    if (found.packs.isEmpty())
        return refused(QStringLiteral("no folder in it holds a drivers.txt, so it holds no skinpack"));
    for (const ArchivePack& pack : found.packs)
        if (const QString fault = nameFaultText(pack); !fault.isEmpty())
            return refused(fault);
    for (const ArchivePack& pack : found.packs) {
        // Each pack under its name: one folder too deep or at the archive's top, it is whole all the same.
        const fs::Path name = fs::fromQt(pack.name);
        if (const fs::Status moved = fs::moveFolder(work_ / kUnpacked / pack.folder, work_ / kNew / name); !moved.ok())
            return refused(QStringLiteral("\"%1\" could not be put in place (%2)").arg(pack.name, failureText(moved)));
        packs_.append({pack.name, Standing::New, {}, descriptionOf(work_ / kNew / name)});
    }
    for (Installing& pack : packs_)
        if (const QString why = judge(pack, [&] { return !givenUp(); }); givenUp() || !why.isEmpty())
            return givenUp() ? InstallStep{true, {}} : refused(why);
    return {};
}

QString Install::judge(Installing& pack, const std::function<bool()>& going) const {
    const fs::Path target = carFolder_ / fs::fromQt(pack.name);
    if (const QString what = inTheWayOf(target); !what.isEmpty())
        return QStringLiteral("\"%1\" in the car folder %2, so the skinpack of that name cannot go there. Move it out "
                              "of the car folder, then try again")
            .arg(pack.name, what);
    if (!fs::anythingAt(target))
        return {};
    pack.standing =
        fs::sameTrees(work_ / kNew / fs::fromQt(pack.name), target, going) ? Standing::Same : Standing::Release;
    pack.installed = descriptionOf(target);
    return {};
}

InstallStep Install::place(const CopyWatch& watch) {
    const InstallStep step = placeAll(watch);
    clear();
    return step;
}

InstallStep Install::placeAll(const CopyWatch& watch) {
    QList<fs::Path> names;
    for (const Installing& pack : std::as_const(packs_))
        if (pack.standing == Standing::Release && !pack.replace)
            return {};
        else if (pack.standing != Standing::Same)
            names.append(fs::fromQt(pack.name));
    if (names.isEmpty())
        return {};
    if (watch.starting)
        watch.starting(int(names.size()), 0);
    // From the journal on, the next start finishes what a cut leaves half done: the packs must be on the disk first.
    const QByteArray journal = fs::journalOf(names);
    fs::Status ready = fs::Status::done();
    if (!fs::host::makeFolder(work_ / kOld) || !fs::host::syncFolder(work_ / kNew) || !fs::host::syncFolder(work_) ||
        !(ready = fs::noteArriving(work_, kJournal, journal.size())).ok() ||
        !(ready = fs::writeWhole(work_ / kJournal, journal)).ok() || !fs::host::syncFolder(work_))
        return refused(QStringLiteral("the skinpacks could not be put in place (%1)")
                           .arg(failureText(ready.ok() ? fs::host::lastFailure() : ready)));
    QList<fs::Path> placed;
    QList<fs::Path> aside;
    for (const Installing& pack : std::as_const(packs_)) {
        const fs::Path name = fs::fromQt(pack.name);
        if (!names.contains(name))
            continue;
        const fs::Path target = carFolder_ / name;
        QString why;
        // What took the name since it was looked at is the member's, and stays.
        if (fs::anythingAt(target) && (pack.standing != Standing::Release || !inTheWayOf(target).isEmpty())) {
            why = QStringLiteral("something else has taken its name");
        } else if (fs::anythingAt(target) && !fs::host::renameOver(target, work_ / kOld / name)) {
            why = failureText(fs::host::lastFailure());
        } else {
            if (pack.standing == Standing::Release)
                aside.append(name);
            if (fs::host::renameOver(work_ / kNew / name, target)) {
                placed.append(name);
                if (watch.progress)
                    watch.progress(0, 1);
                continue;
            }
            why = failureText(fs::host::lastFailure());
        }
        qCWarning(carsetsLog).noquote()
            << QStringLiteral("%1 could not be put in place: %2").arg(fs::displayName(target), why);
        undo(placed, aside);
        return refused(QStringLiteral("\"%1\" could not be put in place (%2)").arg(pack.name, why));
    }
    // The journal stays until the rest of the working folder is gone, to tell a start after a kill that all is placed.
    fs::host::syncFolder(carFolder_);
    for (const Installing& pack : std::as_const(packs_))
        if (names.contains(fs::fromQt(pack.name)))
            qCInfo(carsetsLog).noquote() << QStringLiteral("installed %1 from %2 as %3%4")
                                                .arg(pack.archived, fs::displayName(archive_),
                                                     fs::displayName(carFolder_ / fs::fromQt(pack.name)),
                                                     pack.replace ? ", in place of " + pack.installed : QString());
    return {};
}

void Install::undo(const QList<fs::Path>& placed, const QList<fs::Path>& aside) {
    // A pack that cannot be taken back stays, and so does the release it replaced: the journal then finishes the
    // install at the next start.
    QList<fs::Path> stuck;
    for (const fs::Path& name : placed)
        if (!fs::host::renameOver(carFolder_ / name, work_ / kNew / name))
            stuck.append(name);
    bool undone = stuck.isEmpty();
    for (const fs::Path& name : aside)
        if (!stuck.contains(name))
            undone = fs::host::renameOver(work_ / kOld / name, carFolder_ / name) && undone;
    if (undone && fs::host::syncFolder(carFolder_)) {
        fs::host::removeFile(work_ / kJournal);
        return;
    }
    const QString reason = fs::host::lastError();
    waiting_ = true;
    qCWarning(carsetsLog).noquote() << QStringLiteral("the skinpacks placed in %1 could not all be taken back: %2")
                                           .arg(fs::displayName(carFolder_), reason);
}

fs::Recovery recoverInstall(const fs::Path& carFolder) {
    const fs::Path work = carFolder / kWorkFolder;
    // What the program did not make stays; a mark made elsewhere is told, as the member may not know it is there.
    if (!fs::isOwnFolder(work)) {
        if (fs::removeOwnFiles(work) || !fs::bearsMark(work))
            return {};
        qCWarning(carsetsLog).noquote() << fs::displayName(work) << "is left as it is: its mark was not made here";
        fs::Recovery found(fs::Recovery::SetAside);
        found.workFolder = work;
        return found;
    }
    QList<fs::Blocked> unplaced;
    fs::Recovery::Outcome outcome = fs::Recovery::Finished;
    if (!isPlain(work / kJournal, fs::host::Kind::RegularFile)) {
        const bool written =
            !fs::host::entriesOf(work / kUnpacked).isEmpty() || !fs::host::entriesOf(work / kNew).isEmpty();
        outcome = written ? fs::Recovery::Undone : fs::Recovery::NothingLeft;
    } else {
        const fs::Result<QList<fs::Path>> names =
            fs::holdsAsNoted(work, kJournal)
                ? fs::namesInJournal(fs::readHead(work / kJournal, fs::kMaxJournalBytes + 1).value_or(QByteArray()))
                : fs::Status::failed(QStringLiteral("its journal is not the one it wrote"));
        if (!names) {
            qCWarning(carsetsLog).noquote() << fs::displayName(work) << "is left as it is:" << names.status().reason();
            fs::Recovery found(fs::Recovery::SetAside);
            found.workFolder = work;
            return found;
        }
        // Every pack the journal names was unpacked whole before it: each still there goes in place, over the release
        // the member agreed to replace.
        fs::host::makeFolder(work / kOld);
        for (const fs::Path& name : *names) {
            const fs::Path staged = work / kNew / name;
            const fs::Path target = carFolder / name;
            if (!fs::anythingAt(staged))
                continue;
            if (isPlain(target, fs::host::Kind::Folder) && !fs::anythingAt(work / kOld / name))
                fs::host::renameOver(target, work / kOld / name);
            if (fs::anythingAt(target) || !fs::host::renameOver(staged, target))
                unplaced.append({name, fs::host::obstacleTo(target).value_or(fs::Obstacle::Failed)});
        }
        fs::host::syncFolder(carFolder);
    }
    if (!unplaced.isEmpty())
        return {fs::Recovery::Unfinished, unplaced};
    removeWorkFolder(work);
    if (outcome != fs::Recovery::NothingLeft)
        qCInfo(carsetsLog).noquote() << (outcome == fs::Recovery::Finished ? "finished" : "removed the files of")
                                     << "an install into" << fs::displayName(carFolder) << "that was cut short";
    return outcome;
}

QString replaceText(const QString& archive, const Installing& pack) {
    return QStringLiteral("The skinpack \"%1\" is installed already: %2.\r\n\"%3\" holds %4.\r\n\r\nReplace the "
                          "installed skinpack with the one in \"%3\"? None of the installed one's files will be kept.")
        .arg(pack.name, pack.installed, archive, pack.archived);
}

QString installedText(const QString& archive, const QList<Installing>& packs) {
    QStringList lines{QStringLiteral("From \"%1\":").arg(archive)};
    for (const Installing& pack : packs)
        lines.append(pack.standing == Standing::Same
                         ? QStringLiteral("\"%1\" is installed already, with the same files: nothing was changed.")
                               .arg(pack.name)
                         : QStringLiteral("\"%1\" is installed: %2.").arg(pack.name, pack.archived));
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace carsets
