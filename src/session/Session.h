#pragma once

#include "carsets/Catalogue.h"
#include "fs/Path.h"
#include "league/HttpFetch.h"
#include "meeting/MeetingList.h"
#include "session/Ports.h"

#include <QDateTime>

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

    // Finishes or undoes a swap or a backup that was cut short, reads the configuration and tells which web
    // site is in use, lists the installed skinpacks and shows the active car set.
    void start();

    void swapInSelectedPack();
    void backUpActiveCars();
    void checkPacks();
    void checkMeeting();

private:
    // The swap behind the swap button, and behind the offer after Check Meeting.
    void swapIn(const carsets::Pack& pack);
    // The boxes, each noted in the log.
    void tell(const QString& title, const QString& prompt);
    bool ask(const QString& title, const QString& prompt, bool offer = false);
    // Whether this copy holds the car folder; what keeps it out is told.
    bool mayChangeTheCars(const fs::FolderLock& lock);
    std::optional<QByteArray> download(const QString& name);

    fs::Path carFolder_;
    Ports ports_;
    QString website_;
    QList<carsets::Pack> catalogue_; // row k is the list's position k, as built at start-up

    // A check whose list is missing or empty still names a meeting's pack and track: those the previous check
    // read, with the last published date that was a date, so a member offline still sees what to look at.
    std::optional<meeting::MeetingLine> lastMeetingRead_;
    QDateTime lastPublishedDate_;
};

} // namespace session
