#pragma once

#include <QByteArray>
#include <QStringList>

namespace text {

// One of the league's lists, tarvver.txt or tarvmeet.txt: a count line, then one entry per line.
struct CountedList {
    qint64 count = 0;  // the whole-number part of line 1; 0 when line 1 is not a number
    QStringList lines; // every line after line 1, counted or not

    // How far each reader goes, side by side:
    // - the pack listing of Check Packs shows the first `count` entries, as far as the file goes; a
    //   count that is not a positive number shows none;
    // - the searches for the meeting's pack and for the next meeting stop at the first match, or after
    //   entry number `count`; a count that is not a positive number is never reached, so they go to the end.
    QStringList listed() const;
    QStringList searched() const;

    // The number in the file of lines[index], which follows the count line.
    static qsizetype lineNumber(qsizetype index) { return index + 2; }
};

CountedList readCountedList(const QByteArray& bytes);

} // namespace text
