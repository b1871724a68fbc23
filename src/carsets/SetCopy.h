#pragma once

#include "fs/Path.h"
#include "fs/StagedCopy.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace carsets {

// Told of a command's copies: their number and size before the first, then each block and file as it is
// written; asked between blocks whether the member has given up.
struct CopyWatch {
    std::function<void(int files, qint64 bytes)> starting;
    std::function<void(qint64 newBytes, int newFiles)> progress;
    std::function<bool()> cancelled;
};

// What a command's copies came to.
struct CopyReport {
    bool cancelled = false;  // the member gave up, and nothing was changed
    bool placed = false;     // every file is in place
    QStringList failedFiles; // as shown, each with why where the file in its way is the reason
    QStringList notes;       // what that means for the cars, a line each
    QString refused;         // why nothing was copied at all, when something stopped the copy before it began
};

// Named files of one folder, copied as one part of a set.
struct SetFiles {
    fs::Path from;
    QList<fs::Path> names;
    fs::Part part = fs::Part::Placed;
};

// A set of files copied into a folder together: all of them arrive, or none does when one cannot be read or
// written, or a file in their way stops them; each such file is named.
class SetCopy {
public:
    SetCopy(const fs::Path& into, const CopyWatch& watch, const std::optional<fs::KeptSets>& kept = std::nullopt);

    // Tells the watch how much the files hold.
    void announce(const QList<SetFiles>& files) const;
    // Writes the files into the set; false once the member has given up.
    bool stage(const QList<SetFiles>& files);
    // Puts the set in place; `unchanged` tells the member that nothing was, when the set is not whole or a file in
    // the way stopped it.
    CopyReport place(const QString& unchanged);
    CopyReport cancelled() const { return {true, false, {}, {}, {}}; }
    // The report of a copy that cannot begin, because something the program did not make holds the name of
    // its working folder; nothing when it can.
    std::optional<CopyReport> refusal(const QString& unchanged) const;

private:
    fs::StagedCopy staged_;
    const CopyWatch& watch_;
    std::optional<fs::KeptSets> kept_;
    CopyReport report_;
};

// Why a file in the way could not be replaced, as the member is told.
QString obstacleText(fs::Obstacle why);

// The report of a set none of whose files were put in place: those that failed before, then each file in the
// way with why, then `unchanged`.
CopyReport notPlaced(const QStringList& failedFiles, const QList<fs::Blocked>& blocked, const QString& unchanged);

// The report of a copy that was refused before it began, for the reason told, with `unchanged` after it.
CopyReport refused(const QString& why, const QString& unchanged);
// A host's failure as the member is told it: a full disk in the words every box uses for it.
QString failureText(const fs::Status& failure);
// The report of a copy that could not make the folder it copies through, for the host's reason.
CopyReport cannotMakeFolder(const fs::Status& why, const QString& unchanged);
// Why a copy does not begin while something the program did not make holds a name of its own folders.
QString inTheWayText(const fs::Path& what);

// The report of a copy that would read one of the files through a link to a place outside the car folder, naming
// each such file as shown below the car folder; nothing when none would.
std::optional<CopyReport> linksOutside(const fs::Path& carFolder, const QList<fs::Path>& files,
                                       const QString& unchanged);
// How a file that is a link to a place outside the car folder is named.
QString outsideText(const fs::Path& shown);

// The text of the "Oops..." box; empty when every file arrived.
QString failedCopiesText(const CopyReport& report);

} // namespace carsets
