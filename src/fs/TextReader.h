#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>
#include <optional>

namespace fs {

// Reads a text file line by line without its line ends (CR LF, LF or a lone CR), decoding each
// line as UTF-8 when it is valid UTF-8 and as Windows-1252 otherwise.
class TextReader {
public:
    explicit TextReader(std::unique_ptr<QFile> file);

    // The next line, or nothing at the end of the file.
    std::optional<QString> readLine();
    // Discards one line; false at the end of the file.
    bool skipLine();
    void close();

    // Lines longer than this are cut: no file the program reads has them, and a file that is one
    // huge line must not fill the memory or the list box.
    static constexpr qsizetype kMaxLineBytes = 64 * 1024;

private:
    std::optional<QByteArray> nextRawLine();
    bool fill();

    std::unique_ptr<QFile> file_;
    QByteArray buffer_;
    qsizetype pos_ = 0;
    bool atEnd_ = false;
    bool firstLine_ = true;
};

// Text of bytes read from a file: UTF-8 where valid, otherwise Windows-1252.
QString decodeText(const QByteArray& bytes);

} // namespace fs
