#pragma once

#include <QColor>

namespace app {

// The program's colours, shared by the window and the pictures drawn for it.
namespace colours {

inline const QColor kLaidOutBackground(221, 10, 80);
inline const QColor kRunningBackground(86, 3, 189); // the purple of the running window
inline const QColor kYellow(0xFF, 0xFF, 0x00);
inline const QColor kGreen(0x00, 0xFF, 0x00);
inline const QColor kOrange(0xFF, 0x80, 0x00);
inline const QColor kNavy(0x00, 0x00, 0x80);

} // namespace colours

} // namespace app
