#include "carsets/Leftovers.h"

#include "carsets/Backup.h"
#include "fs/FileSystem.h"

namespace carsets {

namespace {

struct Texts {
    QString undone;
    QString finished;
    QString unfinished;
};

QString textOf(fs::Recovery recovery, const Texts& texts) {
    switch (recovery) {
    case fs::Recovery::Undone:
        return texts.undone;
    case fs::Recovery::Finished:
        return texts.finished;
    case fs::Recovery::Unfinished:
        return texts.unfinished;
    case fs::Recovery::NothingLeft:
        break;
    }
    return {};
}

} // namespace

Leftovers clearLeftovers(const fs::Path& carFolder) {
    Leftovers found{fs::recover(carFolder), fs::Recovery::NothingLeft};
    if (fs::isFolder(carFolder / "original"))
        found.backup = fs::recover(carFolder / "original");
    // A first backup cut short never became "original": nothing of it is kept.
    if (fs::isFolder(carFolder / kFirstBackupFolder)) {
        fs::removeCopiedFolder(carFolder / kFirstBackupFolder);
        found.backup = fs::Recovery::Undone;
    }
    return found;
}

QString leftoversText(const Leftovers& leftovers) {
    const QString closeTheGame = QStringLiteral(
        " could not be finished now, because some files are in use by another program: the game may be running. "
        "Close it and start Tarvok Car Manager again to finish it.");
    QStringList texts{
        textOf(leftovers.swap,
               {QStringLiteral("The last swap of car sets was cut short before it had changed any of your cars. "
                               "The files it had copied so far have been removed: your cars are as they were "
                               "before that swap."),
                QStringLiteral("The last swap of car sets was cut short while it was putting the new cars in place. "
                               "It has now been finished: your car folder holds the whole new car set."),
                QStringLiteral("The last swap of car sets was cut short while it was putting the new cars in place, "
                               "and") +
                    closeTheGame}),
        textOf(leftovers.backup,
               {QStringLiteral("The last backup was cut short before it had changed the folder \"original\". The "
                               "files it had copied so far have been removed: \"original\" holds what it held "
                               "before that backup."),
                QStringLiteral("The last backup was cut short while it was putting the copies in place. It has now "
                               "been finished: the folder \"original\" holds the whole backup."),
                QStringLiteral("The last backup was cut short while it was putting the copies in place, and") +
                    closeTheGame}),
    };
    texts.removeAll(QString());
    return texts.join(QStringLiteral("\r\n\r\n"));
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
