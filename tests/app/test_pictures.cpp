#include "app/Pictures.h"
#include "support/TestMain.h"

#include <QImage>
#include <QSet>
#include <QTest>

#include <functional>

using pictures::Face;

namespace {

int colourCount(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return colours.size();
}

qreal lightness(const QColor& colour) {
    return 0.2126 * colour.redF() + 0.7152 * colour.greenF() + 0.0722 * colour.blueF();
}

const QList<Face> kFaces{Face::Swap, Face::Backup, Face::CheckPacks, Face::CheckMeeting, Face::Exit};

} // namespace

using PictureMaker = std::function<QPixmap(qreal)>;
Q_DECLARE_METATYPE(PictureMaker)

class PicturesTest : public QObject {
    Q_OBJECT

private slots:
    void picturesHaveTheirSizesOnEveryScreen_data() {
        QTest::addColumn<PictureMaker>("make");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<qreal>("ratio");
        for (const qreal ratio : {1.0, 2.0}) {
            const QByteArray at = " at " + QByteArray::number(ratio) + "x";
            QTest::newRow("banner" + at) << PictureMaker(pictures::banner) << QSize(425, 60) << ratio;
            QTest::newRow("icon" + at) << PictureMaker(pictures::windowIcon) << QSize(64, 64) << ratio;
            for (const Face face : kFaces)
                QTest::newRow("face " + QByteArray::number(int(face)) + at)
                    << PictureMaker([face](qreal r) { return pictures::buttonFace(face, r); }) << QSize(121, 43)
                    << ratio;
        }
    }

    void picturesHaveTheirSizesOnEveryScreen() {
        QFETCH(PictureMaker, make);
        QFETCH(QSize, size);
        QFETCH(qreal, ratio);
        const QPixmap picture = make(ratio);
        QCOMPARE(picture.deviceIndependentSize(), QSizeF(size));
        QCOMPARE(picture.size(), size * ratio);
        QVERIFY(colourCount(picture.toImage()) > 30); // drawn, not a flat fill
    }

    void bannerStaysDarkWhereTheVersionTextLies() {
        const QImage banner = pictures::banner(1).toImage();
        for (int y = 48; y < 60; ++y)
            for (int x = 240; x < 409; ++x)
                QVERIFY2(lightness(banner.pixelColor(x, y)) < 0.3, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
    }
};

TARVOK_TEST(PicturesTest)
#include "test_pictures.moc"
