#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace text {

// The league web site used when the car folder holds no "ZERN.cfg".
inline const QString kDefaultWebsite = QStringLiteral("http://www.tarvok.example/");

// The league web site's address and what the "Website Location" box tells the member.
struct Website {
    QString address;
    QString message;
};

// The first line of "ZERN.cfg", taken as it stands, or the default when there is no such file or its first
// line cannot be read.
Website websiteOf(const std::optional<QByteArray>& config);

} // namespace text
