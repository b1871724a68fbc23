#include "league/PackVersionList.h"

#include "fs/FileSystem.h"
#include "league/Conversions.h"

PackEntry packEntryOf(const QString& line) {
    const qsizetype separator = line.indexOf(QLatin1Char('|'));
    if (separator < 0)
        return {QString(), line};
    return {line.left(separator), line.mid(separator + 1)};
}

void subGetPackDate(FormState& st) {
    const fs::FileSystem fso(st.appPath);
    std::optional<fs::TextReader> reader = fso.openAsTextStream(kPackVersionList);
    if (!reader) {
        st.intProblem = 1;
        return;
    }
    const std::optional<QString> countLine = reader->readLine();
    // A count that is not a number, zero or negative is never reached: the list then ends at its end.
    const qint64 count = countLine ? toWholeNumber(*countLine).value_or(0) : 0;
    const QString wanted = st.strMeetPack.toUpper();
    for (qint64 entry = 1;; ++entry) {
        const std::optional<QString> line = reader->readLine();
        if (!line) {
            st.intProblem = 1;
            break;
        }
        const PackEntry pack = packEntryOf(*line);
        st.strPackDate = pack.dateText;
        st.datPackDate = toDate(pack.dateText);
        if (pack.name.toUpper() == wanted) {
            if (!st.datPackDate)
                st.intProblem = 1;
            break;
        }
        if (entry == count) {
            st.intProblem = 1;
            break;
        }
    }
    reader->close();
}
