#include "session/Session.h"

#include "carsets/ActiveSet.h"
#include "carsets/Backup.h"
#include "carsets/Install.h"
#include "carsets/InstalledPacks.h"
#include "carsets/Leftovers.h"
#include "carsets/SetFile.h"
#include "carsets/Swap.h"
#include "fs/FileSystem.h"
#include "fs/FolderLock.h"
#include "league/LeagueFile.h"
#include "league/PackStatus.h"
#include "meeting/MeetingCheck.h"
#include "meeting/Track.h"
#include "session/CopyRunner.h"
#include "session/Log.h"
#include "text/Website.h"

#include <QCoreApplication>

#include <map>

namespace session {

namespace {

const QString kInstallTitle = QStringLiteral("Install Skinpack");

QString cannotLockText(const fs::FolderLock& lock) {
    const QString file = fs::displayName(fs::kLockFile);
    return QStringLiteral("The car folder could not be locked, so nothing was changed:\r\n%1 (%2)\r\n\r\nIf no other "
                          "copy of Tarvok Car Manager is running, move \"%1\" out of the car folder, or make the "
                          "folder writable (you may need an administrator), then try again.")
        .arg(file, lock.reason());
}

PackMark markOf(league::Verdict verdict) {
    switch (verdict) {
    case league::Verdict::UpToDate:
        return PackMark::UpToDate;
    case league::Verdict::OutOfDate:
        return PackMark::OutOfDate;
    case league::Verdict::DateInvalid:
        return PackMark::DateInvalid;
    case league::Verdict::NotInstalled:
        break;
    }
    return PackMark::None;
}

} // namespace

Session::Session(fs::Path carFolder, Ports ports) : carFolder_(std::move(carFolder)), ports_(ports) {}

void Session::prepare() {
    // Before anything reads the folders: a swap or a backup cut short is finished or undone first, unless
    // another copy of the program is at work on them now; one that cannot be finished now is told all the same.
    if (const fs::FolderLock lock(carFolder_); lock.state() == fs::FolderLock::State::Held)
        leftovers_ = carsets::clearLeftovers(carFolder_);
    else if (const QString waiting = carsets::waitingText(carFolder_);
             lock.state() == fs::FolderLock::State::CannotLock && !waiting.isEmpty())
        cannotFinish_ = waiting + QStringLiteral("\r\n\r\n") + cannotLockText(lock);
    catalogueRead_ = std::async(std::launch::async | std::launch::deferred, carsets::readCatalogue, carFolder_);
}

void Session::start() {
    if (!catalogueRead_.valid())
        prepare();
    // A file that cannot be read is there all the same, and keeps the default address.
    const fs::Path config = carFolder_ / "ZERN.cfg";
    const text::Website website =
        text::websiteOf(fs::isFile(config) ? fs::readHead(config, text::kMaxLineBytes + 2).value_or(QByteArray())
                                           : std::optional<QByteArray>());
    website_ = website.address;
    qCInfo(sessionLog).noquote() << QStringLiteral("start: Tarvok Car Manager %1 in %2, web site %3")
                                        .arg(QCoreApplication::applicationVersion(), fs::displayName(carFolder_),
                                             website_);
    tell(QStringLiteral("Website Location"), website.message);
    if (const QString found = carsets::leftoversText(leftovers_) + cannotFinish_; !found.isEmpty())
        tell(QStringLiteral("Tarvok Car Manager"), found);
    showCatalogue(catalogueRead_.get());
    const fs::Result<text::SetLines> active = carsets::readSetFile(carFolder_ / carsets::kDriversTxt);
    if (!active)
        qCWarning(sessionLog).noquote() << "the active drivers.txt cannot be read:" << active.status().reason();
    ports_.currentSet.show(text::startupCurrentSetText(active.asOptional()));
}

void Session::swapInSelectedPack() {
    qCInfo(sessionLog) << "command: swap";
    const std::optional<int> row = ports_.packList.selected();
    if (!row) {
        tell(QStringLiteral("Doh!"), QStringLiteral("Please choose a skinpack first"));
        return;
    }
    // A position without a row names no folder, which the swap then reports as not found.
    swapIn(*row >= 0 && *row < catalogue_.size() ? catalogue_.at(*row) : carsets::Pack{});
}

void Session::swapIn(const carsets::Pack& pack) {
    qCInfo(sessionLog).noquote() << "swapping in" << pack.name;
    const fs::FolderLock lock(carFolder_);
    if (!mayChangeTheCars(lock))
        return;
    std::optional<carsets::CopyReport> report;
    runCopies(ports_.progress, QStringLiteral("Swapping in ") + pack.name,
              [&](const carsets::CopyWatch& watch) { report = carsets::swapIn(carFolder_, pack, watch); });
    showCatalogue(carsets::readCatalogue(carFolder_));
    if (!report) {
        tell(QStringLiteral("Oops..."), QStringLiteral("Skinpack not found!"));
        return;
    }
    if (report->cancelled)
        return;
    // A drivers.txt that cannot be read through line 5 leaves the box as it was.
    if (const std::optional<QString> text =
            text::currentSetText(carsets::readSetFile(carFolder_ / carsets::kDriversTxt).asOptional()))
        ports_.currentSet.show(*text);
    if (const QString text = carsets::failedCopiesText(*report); !text.isEmpty())
        tell(QStringLiteral("Oops..."), text);
}

void Session::backUpActiveCars() {
    qCInfo(sessionLog) << "command: back up the active cars";
    if (!ask(QStringLiteral("Wait a Minute!"),
             QStringLiteral("Warning! This will copy your current cars to the original folder!\r\n"
                            "Are you sure you want to do this?")))
        return;
    const fs::FolderLock lock(carFolder_);
    if (!mayChangeTheCars(lock))
        return;
    carsets::CopyReport report;
    runCopies(ports_.progress, QStringLiteral("Backing up your cars"),
              [&](const carsets::CopyWatch& watch) { report = carsets::backUpActiveCars(carFolder_, watch); });
    showCatalogue(carsets::readCatalogue(carFolder_));
    if (const QString text = carsets::failedCopiesText(report); !text.isEmpty())
        tell(QStringLiteral("Oops..."), text);
}

void Session::tell(const QString& title, const QString& prompt) {
    qCInfo(sessionLog).noquote() << "box:" << title;
    ports_.boxes.tell(title, prompt);
}

bool Session::ask(const QString& title, const QString& prompt, bool offer) {
    const bool yes = offer ? ports_.boxes.offer(title, prompt) : ports_.boxes.ask(title, prompt);
    qCInfo(sessionLog).noquote() << "box:" << title << (yes ? "answered Yes" : "answered No");
    return yes;
}

bool Session::mayChangeTheCars(const fs::FolderLock& lock) {
    if (lock.state() == fs::FolderLock::State::HeldElsewhere)
        tell(QStringLiteral("Tarvok Car Manager"),
             QStringLiteral("Another copy of Tarvok Car Manager is changing the cars in this folder right "
                            "now.\r\nWait until it has finished, then try again."));
    if (lock.state() == fs::FolderLock::State::CannotLock)
        tell(QStringLiteral("Tarvok Car Manager"), cannotLockText(lock));
    return lock.state() == fs::FolderLock::State::Held;
}

std::optional<QByteArray> Session::download(const QString& name) {
    return league::downloadLeagueFile(ports_.fetch, website_, carFolder_, name);
}

void Session::showCatalogue(QList<carsets::Pack> packs) {
    const std::optional<int> selected = ports_.packList.selected();
    const std::optional<fs::Path> selectedFolder = selected && *selected >= 0 && *selected < catalogue_.size()
                                                       ? std::optional(catalogue_.at(*selected).folder)
                                                       : std::nullopt;
    std::map<fs::Path, std::pair<size_t, PackMark>> judged; // by folder: the drivers.txt judged and the mark
    for (qsizetype at = 0; at < catalogue_.size(); ++at)
        if (marks_.at(at) != PackMark::None)
            judged.emplace(catalogue_.at(at).folder, std::pair(catalogue_.at(at).fingerprint, marks_.at(at)));
    catalogue_ = std::move(packs);
    marks_ = QList<PackMark>(catalogue_.size(), PackMark::None);
    std::optional<int> selection;
    for (qsizetype at = 0; at < catalogue_.size(); ++at) {
        const carsets::Pack& pack = catalogue_.at(at);
        if (const auto found = judged.find(pack.folder);
            found != judged.end() && found->second.first == pack.fingerprint)
            marks_[at] = found->second.second;
        if (pack.folder == selectedFolder)
            selection = static_cast<int>(at);
    }
    ports_.packList.show(carsets::catalogueEntries(catalogue_));
    if (!judged.empty())
        ports_.packList.mark(marks_);
    if (selection)
        ports_.packList.select(*selection);
}

void Session::markPacks(const QList<league::JudgedPack>& judged) {
    QStringList names;
    for (const league::JudgedPack& each : judged)
        names.append(each.pack);
    const QList<qsizetype> positions = carsets::positionsOf(catalogue_, names);
    marks_.fill(PackMark::None);
    for (qsizetype at = 0; at < judged.size(); ++at)
        if (positions.at(at) >= 0)
            marks_[positions.at(at)] = markOf(judged.at(at).verdict);
    ports_.packList.mark(marks_);
}

void Session::checkPacks() {
    qCInfo(sessionLog) << "command: check packs";
    const std::optional<QByteArray> list = download(league::kPackVersionList);
    // A mark left from an earlier check would be taken for what the league says now.
    if (!list) {
        markPacks({});
        tell(QStringLiteral("Pack Status"), league::missingPackListText());
        return;
    }
    const QList<league::PackRelease> releases = league::listedReleases(text::readCountedList(*list));
    tell(QStringLiteral("Packs In file"), league::packListingText(releases));
    const QList<league::JudgedPack> judged =
        league::judgePacks(releases, carsets::findInstalledPacks(carFolder_, league::packNames(releases)));
    markPacks(judged);
    tell(QStringLiteral("Pack Status"), league::packStatusText(judged));
}

void Session::checkMeeting() {
    qCInfo(sessionLog) << "command: check meeting";
    const QByteArray meetings = download(league::kMeetingList).value_or(QByteArray());
    const QByteArray packs = download(league::kPackVersionList).value_or(QByteArray());
    const meeting::MemberFolder member{
        [this](const QString& pack, const QDateTime& published) {
            return league::judgePack(carsets::installedRelease(carsets::findInstalledPacks(carFolder_, {pack}), pack),
                                     published);
        },
        [this](const QString& track) { return meeting::isTrackInstalled(carFolder_, track); }};
    meeting::MeetingReadiness readiness =
        meeting::readinessOf(meetings, packs, ports_.clock.today(), lastChecked_, member);
    // The game races with the active cars, so a pack up to date is ready only once its cars are those.
    const std::optional<fs::Path> folder = fs::singleName(readiness.pack);
    const carsets::Pack pack{folder.value_or(fs::Path()), readiness.pack, {}};
    if (folder && meeting::comparesActiveSet(readiness)) {
        std::optional<bool> active;
        const bool givenUp =
            runCopies(ports_.progress, QStringLiteral("Comparing your cars with ") + pack.name,
                      [&](const carsets::CopyWatch& watch) { active = carsets::isActiveSet(carFolder_, pack, watch); });
        // However late, a Cancel ends the check with no report: it has changed nothing.
        if (givenUp || !active) {
            qCInfo(sessionLog).noquote() << "the member cancelled comparing the active cars with" << pack.name;
            return;
        }
        readiness.packNotActive = !*active;
    }
    tell(QStringLiteral("Meeting Info"), meeting::meetingReportText(readiness));
    if (readiness.packNotActive &&
        ask(QStringLiteral("Meeting Info"), meeting::swapOfferText(*readiness.nextMeeting), true))
        swapIn(pack);
}

void Session::installArchives(const QStringList& archives) {
    qCInfo(sessionLog).noquote() << "command: install" << archives.join(QStringLiteral(", "));
    for (const QString& archive : archives)
        if (const std::optional<carsets::Pack> pack = installArchive(fs::fromQt(archive));
            pack && ask(kInstallTitle,
                        QStringLiteral("\"%1\" is installed. Swap it in now, so that the game races with its cars?")
                            .arg(pack->name),
                        true))
            swapIn(*pack);
}

std::optional<carsets::Pack> Session::installArchive(const fs::Path& archive) {
    const QString shown = fs::displayName(archive.filename());
    qCInfo(sessionLog).noquote() << "installing from" << fs::displayName(archive);
    const fs::FolderLock lock(carFolder_);
    if (!mayChangeTheCars(lock))
        return std::nullopt;
    carsets::Install install(carFolder_, archive);
    carsets::InstallStep step;
    if (runCopies(ports_.progress, QStringLiteral("Installing ") + shown,
                  [&](const carsets::CopyWatch& watch) { step = install.unpack(watch); }) ||
        step.cancelled)
        return std::nullopt;
    if (!step.refused.isEmpty()) {
        tell(kInstallTitle, step.refused);
        return std::nullopt;
    }
    bool kept = false;
    for (carsets::Installing& pack : install.packs())
        if (pack.standing == carsets::Standing::Release && !kept)
            kept = !(pack.replace = ask(kInstallTitle, carsets::replaceText(shown, pack), true));
    // Renames alone, but a release replaced, or the archive given up, goes file by file.
    runCopies(ports_.progress, QStringLiteral("Installing ") + shown,
              [&](const carsets::CopyWatch& watch) { step = install.place(watch); });
    if (kept) {
        qCInfo(sessionLog).noquote() << "nothing was installed from" << shown << "- the member kept what is installed";
        return std::nullopt;
    }
    showCatalogue(carsets::readCatalogue(carFolder_));
    if (!step.refused.isEmpty()) {
        tell(kInstallTitle, step.refused);
        return std::nullopt;
    }
    std::optional<carsets::Pack> offered;
    for (const carsets::Installing& pack : install.packs()) {
        const qsizetype at = carsets::positionsOf(catalogue_, {pack.name}).constFirst();
        if (at < 0)
            continue;
        ports_.packList.select(int(at));
        if (!offered && pack.standing != carsets::Standing::Same && offersSwap(catalogue_.at(at)))
            offered = catalogue_.at(at);
    }
    tell(kInstallTitle, carsets::installedText(shown, install.packs()));
    return offered;
}

bool Session::offersSwap(const carsets::Pack& pack) {
    const std::optional<text::SetLines> active = carsets::readSetFile(carFolder_ / carsets::kDriversTxt).asOptional();
    const fs::Path driversTxt = carFolder_ / pack.folder / carsets::kDriversTxt;
    const std::optional<text::SetLines> installed = carsets::readSetFile(driversTxt).asOptional();
    if (!active || !installed || (active->line4 == installed->line4 && active->line5 == installed->line5))
        return false;
    const auto dateOf = [](const std::optional<text::SetLines>& lines, const fs::Path& file) {
        return text::releaseDate(lines, {sessionLog(), fs::displayName(file)});
    };
    const bool olderRelease = active->line4 && active->line4 == installed->line4 &&
                              dateOf(active, carFolder_ / carsets::kDriversTxt) < dateOf(installed, driversTxt);
    const bool meetingPack = lastChecked_.meeting && fs::singleName(lastChecked_.meeting->pack) &&
                             fs::nameKey(*fs::singleName(lastChecked_.meeting->pack)) == fs::nameKey(pack.folder);
    return olderRelease || meetingPack;
}

} // namespace session
