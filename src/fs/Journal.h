#pragma once

#include "fs/Path.h"
#include "fs/Status.h"

#include <QByteArray>
#include <QList>

namespace fs {

// The most files one copy of a set puts in place, and so the most a journal names: far more than any skinpack
// holds.
inline constexpr qsizetype kMaxSetFiles = 10000;
// The longest name a journal holds: 255 UTF-16 units of a Windows name, in UTF-8, fit.
inline constexpr qsizetype kMaxJournalNameBytes = 1024;
// The longest journal this program writes, its first line included, so a longer one is never read whole.
inline constexpr qsizetype kMaxJournalBytes = 64 + kMaxSetFiles * (kMaxJournalNameBytes + 1);

// The journal of a set about to be put in place: the program's first line, then each name ended by a NUL, which
// no name can hold.
QByteArray journalOf(const QList<Path>& names);

// The names a journal found on the disk lists. It is outside input: only one as this program writes them gives
// names, each a single name; for any other the reason it was not.
Result<QList<Path>> namesInJournal(const QByteArray& journal);

} // namespace fs
