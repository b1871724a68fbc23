#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace app {

// Asks which archives to install, over the window; none when the member cancels.
QStringList askForArchives(QWidget& window, const QString& carFolder);

} // namespace app
