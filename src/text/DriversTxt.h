#pragma once

#include "text/Conversions.h"
#include "text/Lines.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace text {

// What a car set's description file, drivers.txt, says: its lines 4 and 5, the only ones the program
// reads; a line is missing when the file ends before it. Each carries its field behind a
// three-character prefix.
struct SetLines {
    std::optional<QString> line4; // the set's name
    std::optional<QString> line5; // the set's release date
};

// The bytes a reader needs from the start of a drivers.txt: five lines of the longest length read.
inline constexpr qint64 kSetLinesBytes = 5 * (kMaxLineBytes + 2);

SetLines setLinesOf(const QByteArray& head);

// The catalogue's description of a pack: its name, " - ", its date, each replaced by its default when
// its line is blank or missing; an unreadable file gives both defaults.
QString packDescription(const std::optional<SetLines>& lines);

// The current set text shown at start-up: "Error" whenever the name cannot be read.
QString startupCurrentSetText(const std::optional<SetLines>& lines);

// The current set text after a swap, or nothing when the file cannot be read through line 5: the box
// then keeps its text.
std::optional<QString> currentSetText(const std::optional<SetLines>& lines);

// The set's release date; the zero date when it cannot be read, so such a pack is out of date. A line 5
// that is not a date is named in the source's log.
QDateTime releaseDate(const std::optional<SetLines>& lines, const DateSource& source);

} // namespace text
