#include "app/PictureButton.h"

#include <qdrawutil.h>
#include <QPainter>

namespace app {

PictureButton::PictureButton(const QPixmap& picture, QWidget* parent) : QAbstractButton(parent), picture_(picture) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
}

QSize PictureButton::sizeHint() const {
    return picture_.deviceIndependentSize().toSize();
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = rect();
    const bool sunken = isDown();
    painter.fillRect(area, palette().button());

    // A pressed button shows its picture one pixel down and right, as a key that gives way.
    QRectF picture(QPointF(0, 0), picture_.deviceIndependentSize());
    picture.moveCenter(QRectF(area).center() + (sunken ? QPointF(1, 1) : QPointF(0, 0)));
    painter.drawPixmap(picture.topLeft(), picture_);

    if (underMouse() && !sunken)
        painter.fillRect(area, QColor(255, 255, 255, 40));
    qDrawWinButton(&painter, area, palette(), sunken);

    if (hasFocus()) {
        // Dark and light dots together stay visible on every face.
        const QRect focus = area.adjusted(4, 4, -5, -5);
        painter.setPen(QPen(Qt::black, 1));
        painter.drawRect(focus);
        painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
        painter.drawRect(focus);
    }
}

} // namespace app
