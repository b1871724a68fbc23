// Writes the program's icon as a Windows .ico file, for the .exe's resources:  tarvok-icon-file OUT.ico

#include "app/AppIcon.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QSaveFile>
#include <QtEndian>

#include <cstdio>

namespace {

void append16(QByteArray& bytes, quint16 value) {
    bytes.append(2, '\0');
    qToLittleEndian(value, bytes.data() + bytes.size() - 2);
}

void append32(QByteArray& bytes, quint32 value) {
    bytes.append(4, '\0');
    qToLittleEndian(value, bytes.data() + bytes.size() - 4);
}

QByteArray pngOf(const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

// An .ico holding each image as PNG, as Windows reads it since Vista: a header, one entry per image, the images.
QByteArray icoOf(const QList<QImage>& images) {
    constexpr int kHeaderBytes = 6;
    constexpr int kEntryBytes = 16;
    QByteArray header, data;
    append16(header, 0); // reserved
    append16(header, 1); // an icon, not a cursor
    append16(header, static_cast<quint16>(images.size()));
    for (const QImage& image : images) {
        const QByteArray png = pngOf(image);
        // 256 pixels is written as 0, as a byte holds no more.
        header.append(static_cast<char>(image.width() % 256)).append(static_cast<char>(image.height() % 256));
        header.append(2, '\0'); // no palette, reserved
        append16(header, 1);    // colour planes
        append16(header, 32);   // bits per pixel
        append32(header, static_cast<quint32>(png.size()));
        append32(header, static_cast<quint32>(kHeaderBytes + kEntryBytes * images.size() + data.size()));
        data += png;
    }
    return header + data;
}

} // namespace

int main(int argc, char** argv) {
    // The picture's letter needs fonts, which Qt gives only to an application on a platform, and there is no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tarvok-icon-file OUT.ico\n");
        return 2;
    }
    QSaveFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly) || out.write(icoOf(app::iconImages())) < 0 || !out.commit()) {
        std::fprintf(stderr, "tarvok-icon-file: %s: %s\n", argv[1], qPrintable(out.errorString()));
        return 1;
    }
    return 0;
}
