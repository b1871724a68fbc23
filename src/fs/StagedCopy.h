#pragma once

#include "fs/Mark.h"
#include "fs/Path.h"
#include "fs/Status.h"

#include <QList>

#include <functional>

namespace fs {

// Whether a copy into folder was cut short while it was putting its files in place, and waits to be finished.
bool placingWaits(const Path& folder);

// Removes a folder the program made and filled with copies: the files its mark names, and its working folder. Nothing
// of a folder without its mark goes, unless it is empty: one a copy cut short just after making it.
void removeCopiedFolder(const Path& folder);

// The sets of files a copy into a folder keeps beside it, put in place together with the files it places.
struct KeptSets {
    // A copy of every file the folder held, kept as this folder, when nothing has its name yet.
    Path whole;
    // The files placing replaced, moved here. A folder of this name that the program did not make stays, and the
    // files go to the first "<name> 2", "<name> 3", ... that is free or the program's.
    Path replaced;
};

// Where a staged file goes once the set is placed: into the folder, or into one of its kept sets.
enum class Part { Placed, Whole, Replaced };

// A file of the set that could not be put in place, and why.
struct Blocked {
    Path name;
    Obstacle why;
    bool operator==(const Blocked&) const = default;
};

// A set of files copied into a folder together, so that a copy cut short at any point leaves the folder
// as it was, or, once recover() has run, as the whole copy would have left it. Each file is first written
// whole and synced in the working folder; only then are they put in place, by renames noted beforehand
// in a synced journal. What is staged but not placed is removed when the copy goes, and so are the files
// placing replaced, unless the copy keeps them.
class StagedCopy {
public:
    // Makes the working folder, after finishing whatever an earlier copy left there.
    explicit StagedCopy(Path folder, std::optional<KeptSets> kept = std::nullopt);
    ~StagedCopy();
    StagedCopy(const StagedCopy&) = delete;
    StagedCopy& operator=(const StagedCopy&) = delete;

    // Whether the working folder could be made; no file can be staged without it.
    const Status& started() const { return started_; }
    // What holds the working folder's name, when the program did not make it: then nothing is staged.
    const std::optional<Path>& inTheWay() const { return inTheWay_; }
    // Whether an earlier copy that could not be finished keeps the working folder: then nothing is staged.
    bool waiting() const { return waiting_; }

    // Writes source, whole and synced, as the file `name` of the set's part, telling `wrote` the bytes written so
    // far; `wrote` returning false gives the file up.
    Status stage(const Path& source, const Path& name, const std::function<bool(qint64)>& wrote,
                 Part part = Part::Placed);

    // Puts every staged file in place, each replacing the file of its name, and then the kept sets, or none of
    // them: the files in the way that kept them out. A folder in the way, or a file the game holds open, is found
    // before anything moves.
    QList<Blocked> place();

private:
    // Puts back the files place() had moved when a move failed.
    void undoPlacing(const QList<std::pair<Path, Path>>& asideNames, const QList<Path>& placedNames);

    Path folder_;
    Path work_;
    std::optional<KeptSets> kept_;
    Path aside_; // where placing moves the files it replaces
    Status started_;
    std::optional<Path> inTheWay_;
    bool waiting_ = false;
    bool folderIsOwn_ = false; // the files placed are noted in its mark, as the program's until it is the member's
    QList<Path> staged_;
};

// What start-up found of a copy into a folder that was cut short, and did about it.
struct Recovery {
    enum Outcome {
        NothingLeft, // also when it had written nothing yet, or was clearing up after placing everything
        Undone,      // it was cut short while writing: what it had written is removed, the folder is as it was
        Finished,    // it was cut short while placing: the placing is finished from its journal
        Unfinished,  // the placing could not be finished now (a file in use): it is kept for the next start
        SetAside,    // its journal is damaged or not this program's: nothing it names is touched
    };
    Recovery(Outcome found = NothingLeft, QList<Blocked> unplacedFiles = {})
        : outcome(found), unplaced(std::move(unplacedFiles)) {}

    Outcome outcome;
    QList<Blocked> unplaced; // Unfinished: the files that could not be put in place yet, and why
    Path workFolder;         // SetAside: the working folder as it was found,
    Path setAsideAs;         // and its new name; empty when it could not be renamed
    bool operator==(const Recovery&) const = default;
};

// Finishes or undoes a copy into folder that was cut short, and removes the temporary files the program
// left there; a copy that kept sets keeps them as `kept` names them.
Recovery recover(const Path& folder, const std::optional<KeptSets>& kept = std::nullopt);

} // namespace fs
