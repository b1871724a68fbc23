#include "text/CountedList.h"

#include "text/Conversions.h"
#include "text/Lines.h"

#include <algorithm>

namespace text {

QStringList CountedList::listed() const {
    return lines.first(std::clamp<qint64>(count, 0, lines.size()));
}

QStringList CountedList::searched() const {
    return count > 0 ? listed() : lines;
}

CountedList readCountedList(const QByteArray& bytes) {
    QStringList lines = linesOf(bytes);
    if (lines.isEmpty())
        return {};
    const qint64 count = toWholeNumber(lines.takeFirst()).value_or(0);
    return {count, lines};
}

} // namespace text
