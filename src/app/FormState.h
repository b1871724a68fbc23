#pragma once

#include "fs/Path.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// A date value: a date and a time of day, compared on the whole value. Held without a time zone,
// so a daylight-saving change never moves a meeting. Empty where a text was not a date.
using DateValue = std::optional<QDateTime>;

// The date a date field holds before anything is stored in it; it lies before every real
// release or meeting date.
QDateTime zeroDate();

// One row of the skinpack catalogue; row k belongs to position k of the list.
struct PackRow {
    fs::Path folder;    // as the host names it
    QString folderName; // as the list shows it
    QString description;
};

// The window's state, shared by the procedures of every command from start-up to exit.
struct FormState {
    fs::Path appPath; // the program's folder, which holds the executable and the active cars

    QString strWebsite;

    QList<PackRow> arrPacks;
    qsizetype intPackCount = 0;

    QString strMessage;
    int intProblem = 0;

    QString strMeetDate;
    DateValue datMeetDate = zeroDate();
    QString strMeetName;
    QString strMeetPack;
    QString strMeetTrack;

    QString strPackDate;
    DateValue datPackDate = zeroDate();
};
