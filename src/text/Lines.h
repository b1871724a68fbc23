#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace text {

// Lines longer than this are cut: no file the program reads has them, and a file that is one huge
// line must not fill the memory or the list box.
inline constexpr qsizetype kMaxLineBytes = 64 * 1024;

// The first maxLines lines of a text (all when negative), without their line ends (CR LF, LF or a
// lone CR). A byte order mark that starts the text is dropped; each line is decoded on its own, as
// UTF-8 where valid and otherwise as Windows-1252, since the league's files and the members'
// drivers.txt come from Windows editors.
QStringList linesOf(const QByteArray& bytes, qsizetype maxLines = -1);

// The same lines, each still as its bytes, for a reader that decodes only some of them with decodeLine.
QList<QByteArrayView> lineBytesOf(const QByteArray& bytes, qsizetype maxLines = -1);
QString decodeLine(QByteArrayView line);

} // namespace text
