#pragma once

#include <QPoint>
#include <QSizeF>

namespace app {

// Top left corner that centres a window of the given outer size on a screen: each difference is
// rounded (a half to the even neighbour) and then halved toward zero.
QPoint centredPosition(const QSizeF& screen, const QSizeF& window);

} // namespace app
