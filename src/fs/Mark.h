#pragma once

#include "fs/HostFile.h"
#include "fs/Path.h"
#include "fs/Status.h"

#include <optional>

// The mark of a folder the program made: a file in it that names the folder's own identity and each file the
// program put there, with its size and identity. A copy of the folder (an archive's, a restore's, a copied game
// folder's) has another identity, so the mark it carries proves nothing and the folder is the member's.
namespace fs {

// Whether folder is one the program made here: a folder itself, not a link to one, whose mark names it.
bool isOwnFolder(const Path& folder);
// Makes folder, marked as the program's.
Status makeOwnFolder(const Path& folder);
// Takes the mark off a folder of the program's that is now the member's, as a first backup once it is "original".
void unmarkFolder(const Path& folder);

// Notes in an own folder's mark a file about to arrive as name, before it does: written to `size` bytes, or moved
// there keeping `identity`. A file the mark does not name is never the program's to remove.
Status noteArriving(const Path& folder, const Path& name, qint64 size,
                    const std::optional<host::Identity>& identity = std::nullopt);
// Writes an own folder's mark anew, naming each file it lists that is there as noted by its identity, so that the
// mark proves them for as long as the folder is kept.
Status sealMark(const Path& folder);

// Whether folder is own and every regular file in it is one its mark names as it is now; what is not a regular file
// (a folder, a link, a FIFO) is left out of the count, and stays where it is whatever the program does.
bool holdsOnlyOwnFiles(const Path& folder);
// Removes the files of an own folder that its mark names as they are now, then the mark and the folder when nothing
// else is in it; whether the folder is gone. Nothing of a folder that is not own goes, unless it holds nothing but a
// mark.
bool removeOwnFiles(const Path& folder);

// Whether the file name in an own folder is one its mark names, as it is now.
bool holdsAsNoted(const Path& folder, const Path& name);

// Whether folder holds a mark, made here or not.
bool bearsMark(const Path& folder);

// The name of the mark, which no set of files the program copies may take.
bool isMarkName(const Path& name);

} // namespace fs
