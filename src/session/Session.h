#pragma once

#include "carsets/Catalogue.h"
#include "carsets/Leftovers.h"
#include "fs/Path.h"
#include "league/HttpFetch.h"
#include "league/PackStatus.h"
#include "meeting/MeetingCheck.h"
#include "session/Ports.h"

#include <QDateTime>

#include <future>

namespace fs {
class FolderLock;
}

namespace session {

// Everything the window reaches outside itself.
struct Ports {
    MessageBoxes& boxes;
    PackList& packList;
    CurrentSetBox& currentSet;
    league::HttpFetch& fetch;
    Clock& clock;
    Progress* progress = nullptr; // none where nobody watches
};

// What the window keeps between commands, and the commands behind its buttons. Each command runs to its
// end: every step goes on whatever the earlier ones found, and what went wrong is told in its boxes.
class Session {
public:
    Session(fs::Path carFolder, Ports ports);

    // Finishes or undoes a swap or a backup that was cut short, then reads the installed skinpacks on a thread of
    // its own, where one can be had, while the window is built; start() does so first when nothing has.
    void prepare();
    // Reads the configuration and tells which web site is in use, and what a cut-short command left; lists the
    // installed skinpacks and shows the active car set.
    void start();

    void swapInSelectedPack();
    void backUpActiveCars();
    void checkPacks();
    void checkMeeting();
    // Installs the skinpacks of each archive file in turn, as the member named them.
    void installArchives(const QStringList& archives);

private:
    // The swap behind the swap button, and behind the offers after Check Meeting and an install.
    void swapIn(const carsets::Pack& pack);
    // Installs one archive's packs under the folder's lock; the pack then to offer to swap in, if any.
    std::optional<carsets::Pack> installArchive(const fs::Path& archive);
    // Whether the game should race with a pack just installed: the active set is an older release of it, or it is the
    // pack the last Check Meeting found.
    bool offersSwap(const carsets::Pack& pack);
    // The boxes, each noted in the log.
    void tell(const QString& title, const QString& prompt);
    bool ask(const QString& title, const QString& prompt, bool offer = false);
    // Whether this copy holds the car folder; what keeps it out is told.
    bool mayChangeTheCars(const fs::FolderLock& lock);
    std::optional<QByteArray> download(const QString& name);
    // Shows the packs read: the selection stays on its folder, and a mark stays where that pack's drivers.txt is
    // as it was judged.
    void showCatalogue(QList<carsets::Pack> packs);
    void markPacks(const QList<league::JudgedPack>& judged);

    fs::Path carFolder_;
    Ports ports_;
    QString website_;
    QList<carsets::Pack> catalogue_; // row k is the list's position k, as last read
    QList<PackMark> marks_;          // the same rows' marks
    carsets::Leftovers leftovers_;
    QString cannotFinish_; // a copy cut short that the start could not lock the folder to finish
    std::future<QList<carsets::Pack>> catalogueRead_;

    // A check whose list is missing or empty still names a meeting's pack and track: those the previous check read.
    meeting::CheckMemory lastChecked_;
};

} // namespace session
