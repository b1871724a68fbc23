#include "fs/Journal.h"

#include "fs/HostFile.h"

#include <algorithm>

namespace fs {

namespace {

// The version tells a journal of a later program, which this one does not read, from a damaged one.
const QByteArray kFirstLine("Tarvok Car Manager journal 1\n");

} // namespace

QByteArray journalOf(const QList<Path>& names) {
    QByteArray journal = kFirstLine;
    for (const Path& name : names)
        journal += host::bytesOfName(name) + '\0';
    return journal;
}

Result<QList<Path>> namesInJournal(const QByteArray& journal) {
    if (journal.size() > kMaxJournalBytes)
        return Status::failed(QStringLiteral("it is longer than any journal this program writes"));
    if (!journal.startsWith(kFirstLine) || journal.size() == kFirstLine.size() || !journal.endsWith('\0'))
        return Status::failed(QStringLiteral("it is not a journal this program wrote"));
    QList<Path> names;
    for (qsizetype start = kFirstLine.size(); start < journal.size();) {
        const qsizetype end = journal.indexOf('\0', start);
        const Path name = host::nameOfBytes(journal.sliced(start, end - start));
        if (end - start > kMaxJournalNameBytes || !isSingleName(name) || names.size() == kMaxSetFiles)
            return Status::failed(
                QStringLiteral("it names \"%1\", which is not a file of the folder it copied into")
                    .arg(QString::fromUtf8(journal.sliced(start, std::min<qsizetype>(end - start, 100)))));
        names.append(name);
        start = end + 1;
    }
    return names;
}

} // namespace fs
