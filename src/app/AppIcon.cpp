#include "app/AppIcon.h"

#include "app/Pictures.h"

#include <QPixmap>

#include <array>

namespace app {

namespace {

// Explorer's and the taskbar's sizes, at 100% to 200% scaling, and the large tiles.
constexpr std::array<int, 7> kPixels{16, 20, 24, 32, 40, 48, 256};

} // namespace

QList<QImage> iconImages() {
    QList<QImage> images;
    const int drawn = pictures::kIconSize.width();
    for (const int pixels : kPixels) {
        // Qt draws no picture smaller than its own size, so a small one is drawn four times over and scaled down.
        const QImage image = pictures::windowIcon(qreal(pixels) * (pixels < drawn ? 4 : 1) / drawn).toImage();
        images << image.scaled(pixels, pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    return images;
}

QIcon programIcon() {
    QIcon icon;
    for (const QImage& image : iconImages())
        icon.addPixmap(QPixmap::fromImage(image));
    return icon;
}

} // namespace app
