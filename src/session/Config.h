#pragma once

#include "fs/Path.h"

#include <QString>

// The league web site used when the car folder holds no "ZERN.cfg".
inline const QString kDefaultWebsite = QStringLiteral("http://www.tarvok.example/");

// The league web site's address: the first line of "ZERN.cfg", taken as it stands, or the default.
struct Website {
    QString address;
    QString message; // what the "Website Location" box tells the member
};

Website readWebsite(const fs::Path& carFolder);
