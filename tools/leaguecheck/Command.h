#pragma once

#include <QStringList>
#include <QTextStream>

namespace leaguecheck {

// How the check ends: nothing flagged, something flagged, or a file that could not be read or fetched (or a command
// line that names none).
enum ExitStatus { kNothingFlagged = 0, kFlagged = 1, kCannotCheck = 2 };

// Checks the league's files as the command line asks (arguments[0] names the program): the report goes to out, what
// keeps a file from being checked to err. The exit status.
int runCheck(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace leaguecheck
