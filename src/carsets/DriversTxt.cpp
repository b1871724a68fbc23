#include "carsets/DriversTxt.h"

#include "fs/FileSystem.h"
#include "text/Lines.h"

namespace {

// Five lines of the longest length read are all the description needs.
constexpr qint64 kDescriptionBytes = 5 * (text::kMaxLineBytes + 2);

} // namespace

std::optional<SetLines> readSetLines(const fs::Path& path) {
    const std::optional<QByteArray> head = fs::readHead(path, kDescriptionBytes);
    if (!head)
        return std::nullopt;
    const QStringList lines = text::linesOf(*head, 5);
    SetLines set;
    if (lines.size() > 3)
        set.line4 = lines[3];
    if (lines.size() > 4)
        set.line5 = lines[4];
    return set;
}

std::optional<QString> fieldOf(const QString& line) {
    if (line.size() < 3)
        return std::nullopt;
    return line.mid(3);
}
