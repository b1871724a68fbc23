#pragma once

#include <QIcon>
#include <QImage>
#include <QList>

namespace app {

// The program's icon at each size Windows shows it in, 16 to 256 pixels: the window's own picture, so that
// the .exe, the taskbar and the title bar show one and the same.
QList<QImage> iconImages();

// The same sizes as one icon, for every window of the program.
QIcon programIcon();

} // namespace app
