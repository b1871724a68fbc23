#include "league/PackVersionList.h"

#include "league/Conversions.h"
#include "text/Lines.h"

PackEntry packEntryOf(const QString& line) {
    const qsizetype separator = line.indexOf(QLatin1Char('|'));
    if (separator < 0)
        return {QString(), line};
    return {line.left(separator), line.mid(separator + 1)};
}

DateValue subGetPackDate(FormState& st, const std::optional<QByteArray>& list) {
    if (!list) {
        st.intProblem = 1;
        return st.datPackDate;
    }
    const QStringList lines = text::linesOf(*list);
    // A count that is not a number, zero or negative is never reached: the list then ends at its end.
    const qint64 count = lines.isEmpty() ? 0 : toWholeNumber(lines.first()).value_or(0);
    const QString wanted = st.strMeetPack.toUpper();
    // Without an entry the check goes on with the date kept from before.
    DateValue published = st.datPackDate;
    for (qint64 entry = 1;; ++entry) {
        if (entry >= lines.size()) {
            st.intProblem = 1;
            break;
        }
        const PackEntry pack = packEntryOf(lines[entry]);
        st.strPackDate = pack.dateText;
        published = toDate(pack.dateText);
        // Only a real date is kept for later checks; "no date" belongs to this one.
        if (published)
            st.datPackDate = published;
        if (pack.name.toUpper() == wanted) {
            if (!published)
                st.intProblem = 1;
            break;
        }
        if (entry == count) {
            st.intProblem = 1;
            break;
        }
    }
    return published;
}
