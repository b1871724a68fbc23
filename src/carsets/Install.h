#pragma once

#include "archive/Unpack.h"
#include "carsets/SetCopy.h"
#include "fs/Path.h"
#include "fs/StagedCopy.h"

#include <QList>
#include <QString>

namespace carsets {

// How a pack of an archive stands against the car folder's entry of its name.
enum class Standing {
    New,     // nothing has the name
    Release, // an installed release of the pack, which the new one replaces only when the member agrees
    Same,    // installed already: the same files with the same bytes
};

// A pack of an archive on its way into the car folder.
struct Installing {
    QString name; // its folder's name in the car folder
    Standing standing = Standing::New;
    QString installed;    // a release's description, its name and date from its drivers.txt
    QString archived;     // the same of the archive's
    bool replace = false; // a release the member agreed to replace
};

// How a step of an install ended: ready for the next, given up by the member, or refused with what the member is told.
struct InstallStep {
    bool cancelled = false;
    QString refused;
};

// The packs of one archive installed into the car folder, all or none. Each is unpacked whole in the program's
// working folder, then renamed into place under a synced journal, so a kill at any point leaves the car folder as it
// was or, once recoverInstall() has run, with every new pack whole. A release it replaces goes whole, none of its
// files left beside the new ones.
class Install {
public:
    Install(fs::Path carFolder, fs::Path archive, const archives::UnpackLimits& limits = {});
    ~Install();
    Install(const Install&) = delete;
    Install& operator=(const Install&) = delete;

    // Unpacks the archive and finds its packs and how each stands; nothing outside the working folder is written, and
    // nothing is left when the archive is refused or the member gives up.
    InstallStep unpack(const CopyWatch& watch);
    // The packs found; the member's answer goes into each release's `replace`.
    QList<Installing>& packs() { return packs_; }
    // Puts the new packs in place, and the releases the member agreed to replace, or none of them; none when the
    // member kept one installed. Whatever it places, the working folder goes.
    InstallStep place(const CopyWatch& watch);

private:
    InstallStep stage(const CopyWatch& watch);
    InstallStep placeAll(const CopyWatch& watch);
    // Removes the working folder, unless a journal keeps it for the next start to finish.
    void clear();
    InstallStep refused(const QString& why) const;
    // Why the pack cannot go where its name says; empty when it can.
    QString judge(Installing& pack, const std::function<bool()>& going) const;
    void undo(const QList<fs::Path>& placed, const QList<fs::Path>& aside);

    fs::Path carFolder_;
    fs::Path archive_;
    fs::Path work_;
    archives::UnpackLimits limits_;
    bool made_ = false;
    bool waiting_ = false; // a journal keeps what could not be taken back for the next start
    QList<Installing> packs_;
};

// Finishes an install cut short while it was putting its packs in place, or removes what one cut short earlier had
// unpacked.
fs::Recovery recoverInstall(const fs::Path& carFolder);

// The question whether a release installed should give way to the archive's.
QString replaceText(const QString& archive, const Installing& pack);
// What the install did, a line for each pack.
QString installedText(const QString& archive, const QList<Installing>& packs);

} // namespace carsets
