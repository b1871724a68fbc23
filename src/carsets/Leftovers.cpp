#include "carsets/Leftovers.h"

#include "carsets/Backup.h"
#include "carsets/Install.h"
#include "carsets/SetCopy.h"
#include "carsets/Swap.h"
#include "fs/FileSystem.h"
#include "fs/Mark.h"

namespace carsets {

namespace {

struct Texts {
    QString undone;
    QString finished;
    QString unfinished; // the start of the sentence, up to "and"
    QString unchanged;  // what was not changed, as a sentence's end
};

const QString kLineEnd = QStringLiteral("\r\n");

// Only files in use wait for the game to close; otherwise each file is named with what stands in its way.
QString unfinishedText(const fs::Recovery& recovery, const QString& start) {
    QStringList files;
    bool allInUse = true;
    for (const fs::Blocked& file : recovery.unplaced) {
        files.append(fs::displayName(file.name) + QStringLiteral(" (") + obstacleText(file.why) + QLatin1Char(')'));
        allInUse = allInUse && file.why == fs::Obstacle::InUse;
    }
    if (allInUse)
        return start +
               QStringLiteral(" could not be finished now, because some files are in use by another program: the game "
                              "may be running. Close it and start Tarvok Car Manager again to finish it.");
    return start + QStringLiteral(" could not be finished now. These files could not be put in place:") + kLineEnd +
           files.join(kLineEnd) + kLineEnd + kLineEnd +
           QStringLiteral("Until they are, the folder holds some new files and some old: once they can be replaced, "
                          "start Tarvok Car Manager again to finish it.");
}

QString setAsideText(const fs::Recovery& recovery, const QString& unchanged) {
    const QString found = QStringLiteral("The folder \"%1\" is damaged or holds what Tarvok Car Manager did not put "
                                         "there, so nothing was taken from it: %2 ")
                              .arg(fs::displayName(recovery.workFolder), unchanged);
    if (recovery.setAsideAs.empty())
        return found + QStringLiteral("Move it out of the car folder so that swaps and backups can run.");
    return found + QStringLiteral("It is now named \"%1\" so that swaps and backups can run; you may delete it.")
                       .arg(fs::displayName(recovery.setAsideAs.filename()));
}

QString textOf(const fs::Recovery& recovery, const Texts& texts) {
    switch (recovery.outcome) {
    case fs::Recovery::Undone:
        return texts.undone;
    case fs::Recovery::Finished:
        return texts.finished;
    case fs::Recovery::Unfinished:
        return unfinishedText(recovery, texts.unfinished);
    case fs::Recovery::SetAside:
        return setAsideText(recovery, texts.unchanged);
    case fs::Recovery::NothingLeft:
        break;
    }
    return {};
}

} // namespace

Leftovers clearLeftovers(const fs::Path& carFolder) {
    Leftovers found{fs::recover(carFolder, kSwapKeeps), {}, {}};
    // A link named "original" is not entered. A first backup cut short as it took the name keeps its mark.
    if (const fs::Path backup = carFolder / "original"; fs::isFolder(backup) && !fs::isLink(backup)) {
        found.backup = fs::recover(backup);
        fs::unmarkFolder(backup);
    }
    // A first backup cut short never became "original": nothing of it is kept.
    if (fs::isOwnFolder(carFolder / kFirstBackupFolder))
        found.backup = fs::Recovery::Undone;
    fs::removeCopiedFolder(carFolder / kFirstBackupFolder);
    found.install = recoverInstall(carFolder);
    return found;
}

QString leftoversText(const Leftovers& leftovers) {
    QStringList texts{
        textOf(leftovers.swap,
               {QStringLiteral("The last swap of car sets was cut short before it had changed any of your cars. "
                               "The files it had copied so far have been removed: your cars are as they were "
                               "before that swap."),
                QStringLiteral("The last swap of car sets was cut short while it was putting the new cars in place. "
                               "It has now been finished: your car folder holds the whole new car set."),
                QStringLiteral("The last swap of car sets was cut short while it was putting the new cars in place, "
                               "and"),
                QStringLiteral("your cars were not changed.")}),
        textOf(leftovers.backup,
               {QStringLiteral("The last backup was cut short before it had changed the folder \"original\". The "
                               "files it had copied so far have been removed: \"original\" holds what it held "
                               "before that backup."),
                QStringLiteral("The last backup was cut short while it was putting the copies in place. It has now "
                               "been finished: the folder \"original\" holds the whole backup."),
                QStringLiteral("The last backup was cut short while it was putting the copies in place, and"),
                QStringLiteral("the folder \"original\" was not changed.")}),
        textOf(leftovers.install,
               {QStringLiteral("The last install of a skinpack was cut short before it had changed your car folder. "
                               "The files it had unpacked have been removed: your car folder is as it was before "
                               "that install."),
                QStringLiteral("The last install of a skinpack was cut short while it was putting the skinpack in "
                               "place. It has now been finished: your car folder holds the whole new skinpack."),
                QStringLiteral("The last install of a skinpack was cut short while it was putting the skinpack in "
                               "place, and"),
                QStringLiteral("your car folder was not changed.")}),
    };
    texts.removeAll(QString());
    return texts.join(kLineEnd + kLineEnd);
}

QString waitingText(const fs::Path& carFolder) {
    QStringList texts;
    if (fs::placingWaits(carFolder))
        texts.append(QStringLiteral("The last swap of car sets was cut short while it was putting the new cars in "
                                    "place, and cannot be finished now: until it is, your car folder may hold a mix "
                                    "of two car sets."));
    if (fs::placingWaits(carFolder / "original"))
        texts.append(QStringLiteral("The last backup was cut short while it was putting the copies in place, and "
                                    "cannot be finished now: until it is, the folder \"original\" may hold a mix "
                                    "of two backups."));
    return texts.join(QStringLiteral("\r\n\r\n"));
}

} // namespace carsets
