#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace leaguecheck {

// A line of one of the league's files: what the manager reads there, and each slip found on it, in plain words.
struct CheckedLine {
    qsizetype number = 0;
    QString reads;
    QStringList slips;
};

// One of the league's files, line by line: the count line, then each line up to the last that is not blank.
struct CheckedFile {
    QString name;
    QList<CheckedLine> lines;
};

CheckedFile checkPackList(const QByteArray& bytes);

// The meeting list as of today, each meeting's pack looked up in the pack version list where that could be had.
CheckedFile checkMeetingList(const QByteArray& bytes, const std::optional<QByteArray>& packList, const QDate& today);

} // namespace leaguecheck
