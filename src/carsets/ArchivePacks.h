#pragma once

#include "fs/Path.h"

#include <QList>
#include <QString>

namespace carsets {

// Why a pack's name cannot be a folder of the car folder, whatever the car folder holds.
enum class NameFault {
    None,
    ProgramFolder, // one of the program's own folders: "original", "previous", "previous 2", ..., ".tarvok..."
    NotAName,      // not a single name Windows can hold
    Repeated,      // another pack of the archive has it too
};

// A pack an archive holds: a folder of it that holds a drivers.txt, installed under that folder's name; the archive's
// top when the drivers.txt is there, installed under the archive's name less its extension.
struct ArchivePack {
    QString name;
    fs::Path folder; // below the folder the archive was unpacked into; empty for its top
    NameFault fault = NameFault::None;
    bool operator==(const ArchivePack&) const = default;
};

struct ArchivePacks {
    QList<ArchivePack> packs; // by folder; none when the archive holds no drivers.txt
    QList<fs::Path> leftOut;  // the files outside every pack, in the order given
};

// The packs among an archive's files, given as paths below the folder it was unpacked into. A pack's folder inside
// another's goes with the outer one, as a part of it.
ArchivePacks findArchivePacks(const QList<fs::Path>& files, const fs::Path& archive);

} // namespace carsets
