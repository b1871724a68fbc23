// A car set's drivers.txt, as a pack fetched from anywhere may hold it, through every reader of it.
#include "text/DriversTxt.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

Q_LOGGING_CATEGORY(fuzzLog, "tarvok.fuzz")

std::optional<QString> lineAt(const QStringList& lines, qsizetype index) {
    return index < lines.size() ? std::optional(lines[index]) : std::nullopt;
}

// A field is its line without the first three characters.
std::optional<QString> fieldOf(const std::optional<QString>& line) {
    return line && line->size() >= 3 ? std::optional(line->mid(3)) : std::nullopt;
}

// A line with more than spaces in it, whose field therefore stands in the pack's description.
bool isFilled(const std::optional<QString>& line) {
    return line && !QString(*line).remove(u' ').isEmpty();
}

bool holdsLineEnd(const QString& line) {
    return line.contains(u'\r') || line.contains(u'\n');
}

} // namespace

// Texts that are not dates are much of what the fuzzer feeds; logging each would only slow it.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    QLoggingCategory::setFilterRules(QStringLiteral("tarvok.*=false"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList all = text::linesOf(bytes);
    // Reading five lines gives the first five of the whole text; no line holds a line end.
    if (text::linesOf(bytes, 5) != all.first(std::min<qsizetype>(5, all.size())) ||
        std::any_of(all.cbegin(), all.cend(), holdsLineEnd))
        std::abort();
    const text::SetLines set = text::setLinesOf(bytes);
    if (set.line4 != lineAt(all, 3) || set.line5 != lineAt(all, 4))
        std::abort();
    const std::optional<QString> name = fieldOf(set.line4);
    const std::optional<QString> date = fieldOf(set.line5);
    // A line too short for its field gives an empty one.
    const QString description = text::packDescription(set);
    if (!description.contains(QLatin1String(" - ")) ||
        (isFilled(set.line4) && !description.startsWith(name.value_or(QString()))) ||
        (isFilled(set.line5) && !description.endsWith(date.value_or(QString()))))
        std::abort();
    // "Error" only stands where no name can be read; a name "Error" is shown as it is.
    const QString startup = text::startupCurrentSetText(set);
    if (name ? !startup.startsWith(*name) : startup != QLatin1String("Error"))
        std::abort();
    const std::optional<QString> current = text::currentSetText(set);
    if (current && (*current != startup || !set.line5))
        std::abort();
    const QDateTime release = text::releaseDate(set, {fuzzLog(), "drivers.txt"});
    if (!release.isValid() || release.timeSpec() != Qt::UTC || (release != text::zeroDate() && !date))
        std::abort();
    return 0;
}
