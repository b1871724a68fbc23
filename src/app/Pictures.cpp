#include "app/Pictures.h"

#include "app/Colours.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>

#include <algorithm>

namespace app {

namespace pictures {

namespace {

using namespace colours;
const QColor kPurple = kRunningBackground;
const QColor kLightPurple(0x7B, 0x2F, 0xE0);
const QColor kDeepPurple(0x1E, 0x00, 0x4A);

// A narrower button than its face shows only the middle of it, so everything that matters stays
// inside this part of the face.
const QRectF kFaceGlyphBox(13, 8.5, 26, 26);
const QRectF kFaceWordsBox(42, 4, 67, 35);

QPixmap canvas(QSize size, qreal devicePixelRatio, const QColor& fill) {
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(fill);
    return pixmap;
}

void prepare(QPainter& painter) {
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
}

QFont boldFont(int pixelSize, bool italic = false) {
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
                      QStringLiteral("Helvetica"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Black);
    font.setItalic(italic);
    font.setPixelSize(pixelSize);
    return font;
}

// The largest bold font, up to the given pixel size, in which every line fits the width.
QFont fittedFont(const QStringList& lines, qreal width, int largest) {
    for (int size = largest;; --size) {
        const QFont font = boldFont(size);
        const QFontMetricsF metrics(font);
        bool fits = true;
        for (const QString& line : lines)
            fits = fits && metrics.horizontalAdvance(line) <= width;
        if (fits || size <= 6)
            return font;
    }
}

void drawOutlinedText(QPainter& painter, const QPointF& baseline, const QFont& font, const QString& text,
                      const QBrush& fill, const QColor& outline, qreal outlineWidth) {
    QPainterPath path;
    path.addText(baseline, font, text);
    painter.strokePath(path, QPen(outline, outlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.fillPath(path, fill);
}

void drawChequers(QPainter& painter, const QRectF& area, int columns, int rows) {
    painter.fillRect(area, Qt::white);
    const qreal width = area.width() / columns;
    const qreal height = area.height() / rows;
    for (int row = 0; row < rows; ++row)
        for (int column = (row % 2); column < columns; column += 2)
            painter.fillRect(QRectF(area.left() + column * width, area.top() + row * height, width, height), Qt::black);
}

void drawArrow(QPainter& painter, const QPointF& from, const QPointF& to, const QColor& colour) {
    const qreal head = 7;
    const QPointF direction = (to - from) / QLineF(from, to).length();
    const QPointF normal(-direction.y(), direction.x());
    const QPointF base = to - direction * head;
    painter.setPen(QPen(colour, 3, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(from, base);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(QPolygonF{to, base + normal * (head * 0.7), base - normal * (head * 0.7)});
    painter.setBrush(Qt::NoBrush);
}

void drawSwapGlyph(QPainter& painter, const QRectF& box) {
    const qreal upper = box.top() + box.height() * 0.3;
    const qreal lower = box.top() + box.height() * 0.7;
    drawArrow(painter, {box.left() + 1, upper}, {box.right() - 1, upper}, kPurple);
    drawArrow(painter, {box.right() - 1, lower}, {box.left() + 1, lower}, kPurple);
}

void drawBackupGlyph(QPainter& painter, const QRectF& box) {
    painter.setPen(QPen(kYellow, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const qreal middle = box.top() + box.height() * 0.55;
    painter.drawPolyline(QPolygonF{{box.left() + 2, middle},
                                   {box.left() + 2, box.bottom() - 2},
                                   {box.right() - 2, box.bottom() - 2},
                                   {box.right() - 2, middle}});
    drawArrow(painter, {box.center().x(), box.top()}, {box.center().x(), box.bottom() - 6}, kYellow);
}

void drawTickGlyph(QPainter& painter, const QRectF& box) {
    const QPolygonF tick{{box.left() + 3, box.top() + box.height() * 0.55},
                         {box.left() + box.width() * 0.4, box.bottom() - 4},
                         {box.right() - 2, box.top() + 4}};
    painter.setPen(QPen(kDeepPurple, 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(tick);
    painter.setPen(QPen(kGreen, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(tick);
}

void drawFlagGlyph(QPainter& painter, const QRectF& box) {
    painter.setPen(QPen(Qt::white, 2.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(box.left() + 3, box.top() + 1), QPointF(box.left() + 3, box.bottom()));
    const QRectF flag(box.left() + 4.5, box.top() + 2, box.width() - 6, box.height() * 0.6);
    drawChequers(painter, flag, 4, 3);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(flag);
}

void drawExitGlyph(QPainter& painter, const QRectF& box) {
    const QRectF ring = box.adjusted(3, 3, -3, -3);
    painter.setPen(QPen(kOrange, 3.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(ring, 125 * 16, 290 * 16);
    painter.drawLine(QPointF(ring.center().x(), box.top() + 1), ring.center());
}

struct FaceDesign {
    QColor top;
    QColor bottom;
    QColor ink;
    QColor inkShadow;
    QStringList words;
    void (*glyph)(QPainter&, const QRectF&);
};

FaceDesign designOf(Face face) {
    switch (face) {
    case Face::Swap:
        return {QColor(0xFF, 0xA0, 0x3A), QColor(0xE0, 0x66, 0x00), kPurple,
                QColor(0xFF, 0xD8, 0xA8), {QStringLiteral("SWAP")}, drawSwapGlyph};
    case Face::Backup:
        return {kLightPurple, QColor(0x3A, 0x02, 0x88),   kYellow,
                kDeepPurple,  {QStringLiteral("BACKUP")}, drawBackupGlyph};
    case Face::CheckPacks:
        return {kLightPurple,
                QColor(0x3A, 0x02, 0x88),
                kYellow,
                kDeepPurple,
                {QStringLiteral("CHECK"), QStringLiteral("PACKS")},
                drawTickGlyph};
    case Face::CheckMeeting:
        return {kLightPurple,
                QColor(0x3A, 0x02, 0x88),
                kGreen,
                kDeepPurple,
                {QStringLiteral("CHECK"), QStringLiteral("MEETING")},
                drawFlagGlyph};
    case Face::Exit:
        return {QColor(0x3C, 0x06, 0x80),
                QColor(0x14, 0x00, 0x36),
                kOrange,
                Qt::black,
                {QStringLiteral("EXIT")},
                drawExitGlyph};
    }
    return {};
}

void drawWords(QPainter& painter, const FaceDesign& design) {
    const QFont font = fittedFont(design.words, kFaceWordsBox.width(), design.words.size() == 1 ? 17 : 13);
    const QFontMetricsF metrics(font);
    const qreal lineHeight = metrics.ascent() + 1;
    qreal baseline = kFaceWordsBox.center().y() - lineHeight * design.words.size() / 2 + metrics.ascent();
    painter.setFont(font);
    for (const QString& word : design.words) {
        const qreal left = kFaceWordsBox.center().x() - metrics.horizontalAdvance(word) / 2;
        painter.setPen(design.inkShadow);
        painter.drawText(QPointF(left + 1, baseline + 1), word);
        painter.setPen(design.ink);
        painter.drawText(QPointF(left, baseline), word);
        baseline += lineHeight;
    }
}

} // namespace

QPixmap banner(qreal devicePixelRatio) {
    QPixmap pixmap = canvas(kBannerSize, devicePixelRatio, kPurple);
    QPainter painter(&pixmap);
    prepare(painter);
    const QRectF area(QPointF(0, 0), QSizeF(kBannerSize));

    // A night sky that settles into the window's purple, so the banner joins the window beneath it.
    QLinearGradient sky(area.topLeft(), area.bottomLeft());
    sky.setColorAt(0, QColor(0x14, 0x00, 0x38));
    sky.setColorAt(1, kPurple);
    painter.fillRect(area, sky);

    // Speed streaks trail the title; they stay clear of the version text under the right edge.
    struct Streak {
        qreal top, height, start;
        QColor colour;
    };
    for (const Streak& streak : {Streak{10, 3, 238, kOrange}, Streak{17, 2, 262, kYellow}, Streak{24, 4, 228, kOrange},
                                 Streak{32, 2, 252, kYellow}, Streak{38, 3, 276, kOrange}}) {
        QLinearGradient fade(QPointF(streak.start, 0), QPointF(area.right(), 0));
        QColor faded = streak.colour;
        faded.setAlpha(0);
        fade.setColorAt(0, streak.colour);
        fade.setColorAt(1, faded);
        painter.fillRect(QRectF(streak.start, streak.top, area.right() - streak.start, streak.height), fade);
    }

    painter.save();
    painter.translate(22, 8);
    painter.shear(-0.25, 0);
    drawChequers(painter, QRectF(0, 0, 36, 42), 6, 7);
    painter.setPen(QPen(kOrange, 1.5));
    painter.drawRect(QRectF(0, 0, 36, 42));
    painter.restore();

    QLinearGradient gold(0, 12, 0, 38);
    gold.setColorAt(0, kYellow);
    gold.setColorAt(1, kOrange);
    drawOutlinedText(painter, QPointF(64, 38), boldFont(34, true), QStringLiteral("TARVOK"), gold, kDeepPurple, 3);

    QFont subtitle = boldFont(11);
    subtitle.setLetterSpacing(QFont::AbsoluteSpacing, 2.5);
    painter.setFont(subtitle);
    painter.setPen(Qt::white);
    painter.drawText(QPointF(68, 54), QStringLiteral("CAR MANAGER"));
    return pixmap;
}

QPixmap buttonFace(Face face, qreal devicePixelRatio) {
    const FaceDesign design = designOf(face);
    QPixmap pixmap = canvas(kFaceSize, devicePixelRatio, design.bottom);
    QPainter painter(&pixmap);
    prepare(painter);
    const QRectF area(QPointF(0, 0), QSizeF(kFaceSize));

    QLinearGradient background(area.topLeft(), area.bottomLeft());
    background.setColorAt(0, design.top);
    background.setColorAt(1, design.bottom);
    painter.fillRect(area, background);
    // A soft gloss on the upper half makes the face read as a raised key.
    QLinearGradient gloss(area.topLeft(), QPointF(0, area.height() / 2));
    gloss.setColorAt(0, QColor(255, 255, 255, 70));
    gloss.setColorAt(1, QColor(255, 255, 255, 10));
    painter.fillRect(QRectF(0, 0, area.width(), area.height() / 2), gloss);

    design.glyph(painter, kFaceGlyphBox);
    drawWords(painter, design);
    return pixmap;
}

QPixmap windowIcon(qreal devicePixelRatio) {
    QPixmap pixmap = canvas(kIconSize, devicePixelRatio, Qt::transparent);
    QPainter painter(&pixmap);
    prepare(painter);
    const QRectF tile(2, 2, 60, 60);
    QPainterPath outline;
    outline.addRoundedRect(tile, 12, 12);

    QLinearGradient background(tile.topLeft(), tile.bottomLeft());
    background.setColorAt(0, kLightPurple);
    background.setColorAt(1, QColor(0x2A, 0x00, 0x70));
    painter.fillPath(outline, background);

    painter.save();
    painter.setClipPath(outline);
    drawChequers(painter, QRectF(tile.left(), 46, tile.width(), 16), 8, 2);
    painter.restore();

    QLinearGradient gold(0, 6, 0, 42);
    gold.setColorAt(0, kYellow);
    gold.setColorAt(1, kOrange);
    const QFont letter = boldFont(44, true);
    const qreal left = tile.center().x() - QFontMetricsF(letter).horizontalAdvance(QStringLiteral("T")) / 2;
    drawOutlinedText(painter, QPointF(left, 42), letter, QStringLiteral("T"), gold, kDeepPurple, 3);

    painter.setPen(QPen(kOrange, 2.5));
    painter.drawPath(outline);
    return pixmap;
}

QPixmap packMark(session::PackMark mark, int side, qreal devicePixelRatio) {
    QPixmap pixmap = canvas(QSize(side, side), devicePixelRatio, Qt::transparent);
    QPainter painter(&pixmap);
    prepare(painter);
    const qreal s = side;
    const QPen outline(Qt::black, 1);
    const QPen sign(Qt::black, std::max(1.5, s / 7), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    switch (mark) {
    case session::PackMark::UpToDate: // a green disc with a tick
        painter.setPen(outline);
        painter.setBrush(kGreen);
        painter.drawEllipse(QRectF(0.5, 0.5, s - 1, s - 1));
        painter.setPen(sign);
        painter.drawPolyline(QPolygonF{{s * 0.27, s * 0.52}, {s * 0.44, s * 0.7}, {s * 0.74, s * 0.3}});
        break;
    case session::PackMark::OutOfDate: // an orange triangle with "!"
        painter.setPen(outline);
        painter.setBrush(kOrange);
        painter.drawPolygon(QPolygonF{{s / 2, 0.5}, {s - 0.5, s - 0.5}, {0.5, s - 0.5}});
        painter.setPen(sign);
        painter.drawLine(QPointF(s / 2, s * 0.38), QPointF(s / 2, s * 0.6));
        painter.drawPoint(QPointF(s / 2, s * 0.8));
        break;
    case session::PackMark::DateInvalid: // a red square with a cross
        painter.setPen(outline);
        painter.setBrush(QColor(0xFF, 0x30, 0x30));
        painter.drawRect(QRectF(0.5, 0.5, s - 1, s - 1));
        painter.setPen(sign);
        painter.drawLine(QPointF(s * 0.3, s * 0.3), QPointF(s * 0.7, s * 0.7));
        painter.drawLine(QPointF(s * 0.7, s * 0.3), QPointF(s * 0.3, s * 0.7));
        break;
    case session::PackMark::None:
        break;
    }
    return pixmap;
}

} // namespace pictures

} // namespace app
