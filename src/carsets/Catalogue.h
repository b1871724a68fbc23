#pragma once

#include "fs/Path.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstddef>

namespace carsets {

// An installed skinpack: a subfolder of the car folder that holds a drivers.txt.
struct Pack {
    fs::Path folder;        // as the host names it
    QString name;           // as the list shows it
    QString description;    // its name and date, from its drivers.txt
    size_t fingerprint = 0; // of its drivers.txt as read, which tells a changed one from the same
};

// Whether a folder of the car folder may be a pack: hidden ones, the program's own working folders among them, never
// are.
bool mayBePack(const QString& folder);

// Every installed skinpack, in the order the list shows them: by folder name, without regard to case.
QList<Pack> readCatalogue(const fs::Path& carFolder);

// Where in the catalogue stands the pack each league name stands for, its folder named as the host compares names;
// -1 for a name that stands for no pack listed.
QList<qsizetype> positionsOf(const QList<Pack>& packs, const QStringList& leagueNames);

// The list's entries: each pack's name, " .", then its description behind as many full stops as its
// name is shorter than the longest, so in a fixed-pitch font every description starts in one column.
QStringList catalogueEntries(const QList<Pack>& packs);

} // namespace carsets
