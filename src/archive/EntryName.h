#pragma once

#include "fs/Status.h"

#include <QHash>
#include <QString>
#include <QStringList>

namespace archives {

// Whether Windows can hold a name as one entry of a folder: no character it forbids, no dot or space at the end, no
// device such as CON or LPT1. Asked on every host, so that an archive unpacks alike everywhere.
bool isWindowsName(const QString& name);

// The parts of the name an archive gives an entry, as a path below the folder it is unpacked into; none for the
// archive's top folder itself ("./"). Each part is a single name Windows can hold and none is one of the program's
// own; otherwise why the entry cannot be unpacked.
fs::Result<QStringList> partsOfEntryName(const QString& name);

// The paths of an archive's entries so far, to find two that Windows would take for one.
class EntryPaths {
public:
    // Adds an entry's path, and the folders it lies in; why it clashes with an entry added before, if it does. A
    // folder may come again under the same name.
    fs::Status add(const QStringList& parts, bool folder);

private:
    struct Seen {
        QString path;
        bool folder = false;
    };
    QHash<QString, Seen> seen_; // by the path without regard to letter case
};

} // namespace archives
