#include "Gzip.h"

#include <QtEndian>

#include <array>

namespace leagueserver {

namespace {

std::array<quint32, 256> crcTable() {
    std::array<quint32, 256> table{};
    for (quint32 n = 0; n < 256; ++n) {
        quint32 c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

quint32 crc32(const QByteArray& bytes) {
    static const std::array<quint32, 256> table = crcTable();
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes)
        crc = table[(crc ^ static_cast<quint8>(byte)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

QByteArray littleEndian(quint32 value) {
    QByteArray bytes(4, Qt::Uninitialized);
    qToLittleEndian(value, bytes.data());
    return bytes;
}

} // namespace

QByteArray gzip(const QByteArray& bytes) {
    // qCompress gives a 4-byte length, a 2-byte zlib header, the raw deflate data and a 4-byte checksum;
    // gzip wants the deflate data between a header and trailer of its own.
    const QByteArray zlib = qCompress(bytes, 9);
    // qCompress gives nothing but the length for no bytes; deflate's own empty stream is one empty block.
    const QByteArray deflate = bytes.isEmpty() ? QByteArray("\x03\x00", 2) : zlib.mid(6, zlib.size() - 10);
    return QByteArray("\x1f\x8b\x08\x00\x00\x00\x00\x00\x02\xff", 10) + deflate + littleEndian(crc32(bytes)) +
           littleEndian(static_cast<quint32>(bytes.size()));
}

} // namespace leagueserver
