#pragma once

#include "session/Ports.h"

#include <QPixmap>
#include <QSize>

namespace app {

// The window's pictures, drawn in code in the program's colours. Sizes are in device-independent
// pixels; the pixmaps hold devicePixelRatio times as many pixels so they stay sharp on dense screens.
namespace pictures {

inline constexpr QSize kBannerSize(425, 60);
inline constexpr QSize kFaceSize(121, 43);
inline constexpr QSize kIconSize(64, 64);

enum class Face { Swap, Backup, CheckPacks, CheckMeeting, Exit };

QPixmap banner(qreal devicePixelRatio);
QPixmap buttonFace(Face face, qreal devicePixelRatio);
QPixmap windowIcon(qreal devicePixelRatio);
// A square mark of what Check Packs found, side pixels wide, each in a shape and colour of its own; nothing drawn
// for no mark.
QPixmap packMark(session::PackMark mark, int side, qreal devicePixelRatio);

} // namespace pictures

} // namespace app
