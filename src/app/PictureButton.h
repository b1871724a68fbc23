#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace app {

// A button that shows a picture instead of a caption. A picture larger than the button is centred
// and shows only its middle.
class PictureButton : public QAbstractButton {
    Q_OBJECT

public:
    PictureButton(const QPixmap& picture, QWidget* parent);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
};

} // namespace app
