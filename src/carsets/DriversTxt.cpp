#include "carsets/DriversTxt.h"

std::optional<SetLines> readSetLines(const fs::FileSystem& fso, const QString& path) {
    auto reader = fso.openAsTextStream(path);
    if (!reader)
        return std::nullopt;
    SetLines lines;
    if (reader->skipLine() && reader->skipLine() && reader->skipLine()) {
        lines.line4 = reader->readLine();
        if (lines.line4)
            lines.line5 = reader->readLine();
    }
    reader->close();
    return lines;
}

std::optional<QString> fieldOf(const QString& line) {
    if (line.size() < 3)
        return std::nullopt;
    return line.mid(3);
}
