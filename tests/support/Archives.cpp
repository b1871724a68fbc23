#include "support/Archives.h"

#include <QMap>
#include <QtEndian>

#include <archive.h>
#include <archive_entry.h>

QByteArray archiveOf(const QString& format, const QString& filter, const QString& options, const QStringList& entries,
                     const std::function<QByteArray(const QString&)>& contents) {
    ::archive* writer = archive_write_new();
    archive_write_set_format_by_name(writer, format.toUtf8());
    if (!filter.isEmpty())
        archive_write_add_filter_by_name(writer, filter.toUtf8());
    // On Windows libarchive would write the ANSI code page.
    archive_write_set_options(writer, "hdrcharset=UTF-8");
    archive_write_set_options(writer, options.toUtf8());
    archive_write_set_passphrase(writer, "secret");
    QByteArray bytes(8 * 1024 * 1024, '\0');
    size_t used = 0;
    archive_write_open_memory(writer, bytes.data(), size_t(bytes.size()), &used);
    for (const QString& spec : entries) {
        const QChar kind = spec[0];
        const QString name = spec.mid(2).section('>', 0, 0);
        const QByteArray data = kind == 'f' ? contents(name) : QByteArray();
        archive_entry* entry = archive_entry_new();
        archive_entry_update_pathname_utf8(entry, name.toUtf8());
        const QMap<QChar, int> types{{'d', AE_IFDIR}, {'l', AE_IFLNK}, {'c', AE_IFCHR}, {'p', AE_IFIFO}};
        archive_entry_set_filetype(entry, types.value(kind, AE_IFREG));
        archive_entry_set_perm(entry, 0644);
        archive_entry_set_size(entry, data.size());
        if (kind == 'l' || kind == 'h')
            (kind == 'l' ? archive_entry_update_symlink_utf8
                         : archive_entry_update_hardlink_utf8)(entry, spec.section('>', 1).toUtf8());
        archive_write_header(writer, entry);
        archive_write_data(writer, data.constData(), size_t(data.size()));
        archive_entry_free(entry);
    }
    archive_write_free(writer);
    bytes.resize(qsizetype(used));
    return bytes;
}

QByteArray damaged(QByteArray bytes, const QString& damage, const QByteArray& inside) {
    if (damage == "cut off")
        bytes.truncate(bytes.size() / 2);
    if (damage == "a bad checksum")
        bytes[bytes.indexOf(inside) + 1000] ^= 1;
    // The last file's local header and central directory entry tell 1,000 bytes of a file that holds many more.
    if (damage == "a bomb") {
        qToLittleEndian<quint32>(1000, bytes.data() + bytes.lastIndexOf("PK\3\4") + 22);
        qToLittleEndian<quint32>(1000, bytes.data() + bytes.lastIndexOf("PK\1\2") + 24);
    }
    if (damage == "a name that is no UTF-8")
        bytes.replace("\xc3\xa9", "\xc3\x28");
    return bytes;
}
