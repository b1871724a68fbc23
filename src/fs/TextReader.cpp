#include "fs/TextReader.h"

#include <QStringDecoder>

#include <array>

namespace fs {

namespace {

constexpr qsizetype kChunkBytes = 16 * 1024;

// Windows-1252 differs from Latin-1 only in 0x80-0x9F; the five undefined bytes map to themselves.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString decodeCp1252(const QByteArray& bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        text[i] = (byte >= 0x80 && byte < 0xA0) ? QChar(kCp1252High[byte - 0x80]) : QChar(byte);
    }
    return text;
}

} // namespace

QString decodeText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8(bytes);
    return utf8.hasError() ? decodeCp1252(bytes) : text;
}

TextReader::TextReader(std::unique_ptr<QFile> file) : file_(std::move(file)) {}

bool TextReader::fill() {
    if (atEnd_ || !file_)
        return false;
    const QByteArray chunk = file_->read(kChunkBytes);
    if (chunk.isEmpty()) {
        atEnd_ = true;
        return false;
    }
    buffer_.remove(0, pos_);
    pos_ = 0;
    buffer_.append(chunk);
    return true;
}

std::optional<QByteArray> TextReader::nextRawLine() {
    QByteArray line;
    bool sawAnything = false;
    for (;;) {
        if (pos_ >= buffer_.size() && !fill())
            return sawAnything ? std::optional(line) : std::nullopt;
        sawAnything = true;
        const char* data = buffer_.constData();
        qsizetype end = pos_;
        while (end < buffer_.size() && data[end] != '\n' && data[end] != '\r')
            ++end;
        const qsizetype room = kMaxLineBytes - line.size();
        line.append(data + pos_, std::min(end - pos_, std::max<qsizetype>(room, 0)));
        pos_ = end;
        if (end == buffer_.size())
            continue; // the line goes on in the next chunk
        const bool carriageReturn = data[pos_] == '\r';
        ++pos_;
        if (carriageReturn && (pos_ < buffer_.size() || fill()) && buffer_[pos_] == '\n')
            ++pos_;
        return line;
    }
}

std::optional<QString> TextReader::readLine() {
    std::optional<QByteArray> raw = nextRawLine();
    if (!raw)
        return std::nullopt;
    if (firstLine_ && raw->startsWith("\xEF\xBB\xBF"))
        raw->remove(0, 3); // a byte order mark from a Windows editor is not text
    firstLine_ = false;
    return decodeText(*raw);
}

bool TextReader::skipLine() {
    firstLine_ = false;
    return nextRawLine().has_value();
}

void TextReader::close() {
    if (file_)
        file_->close();
    file_.reset();
}

} // namespace fs
