#include "text/Lines.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>

namespace text {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F; the five undefined bytes map to themselves.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString decodeCp1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        text[i] = (byte >= 0x80 && byte < 0xA0) ? QChar(kCp1252High[byte - 0x80]) : QChar(byte);
    }
    return text;
}

} // namespace

QString decodeLine(QByteArrayView line) {
    // Nearly every line is plain ASCII, which reads the same in both and needs no decoder.
    if (std::all_of(line.begin(), line.end(), [](char byte) { return static_cast<unsigned char>(byte) < 0x80; }))
        return QString::fromLatin1(line);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8(line);
    return utf8.hasError() ? decodeCp1252(line) : text;
}

QStringList linesOf(const QByteArray& bytes, qsizetype maxLines) {
    QStringList lines;
    for (const QByteArrayView line : lineBytesOf(bytes, maxLines))
        lines.append(decodeLine(line));
    return lines;
}

QList<QByteArrayView> lineBytesOf(const QByteArray& bytes, qsizetype maxLines) {
    QByteArrayView rest(bytes);
    if (rest.startsWith("\xEF\xBB\xBF"))
        rest = rest.sliced(3);
    QList<QByteArrayView> lines;
    if (maxLines > 0)
        lines.reserve(maxLines);
    while (!rest.isEmpty() && lines.size() != maxLines) {
        qsizetype end = 0;
        while (end < rest.size() && rest[end] != '\n' && rest[end] != '\r')
            ++end;
        lines.append(rest.first(std::min(end, kMaxLineBytes)));
        if (end < rest.size() && rest[end] == '\r' && end + 1 < rest.size() && rest[end + 1] == '\n')
            ++end;
        rest = rest.sliced(std::min(end + 1, rest.size()));
    }
    return lines;
}

} // namespace text
