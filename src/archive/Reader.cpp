#include "archive/Reader.h"

#include <archive.h>
#include <archive_entry.h>

#include <cstdio>

namespace archives {

namespace {

constexpr qint64 kBlockBytes = 1024 * 1024;

// Each with what it reads alone: a compression libarchive was built without would be left to an outside program.
bool supportsWhatItReads(::archive* archive) {
    using Support = int (*)(::archive*);
    for (const Support support :
         {archive_read_support_format_zip, archive_read_support_format_7zip, archive_read_support_format_rar,
          archive_read_support_format_rar5, archive_read_support_format_tar, archive_read_support_filter_gzip,
          archive_read_support_filter_bzip2, archive_read_support_filter_xz})
        if (support(archive) != ARCHIVE_OK)
            return false;
    // A zip without its UTF-8 flag is in the code page of DOS, as zip tools write it; so is a RAR 4 name without its
    // Unicode flag.
    return archive_read_set_options(archive, "zip:hdrcharset=CP437,rar:hdrcharset=CP437,tar:hdrcharset=UTF-8") ==
           ARCHIVE_OK;
}

EntryKind kindOf(::archive_entry* header) {
    if (archive_entry_hardlink(header))
        return EntryKind::HardLink;
    if (archive_entry_symlink(header))
        return EntryKind::Link;
    switch (archive_entry_filetype(header)) {
    case AE_IFREG:
        return EntryKind::File;
    case AE_IFDIR:
        return EntryKind::Folder;
    case AE_IFLNK:
        return EntryKind::Link;
    case AE_IFCHR:
    case AE_IFBLK:
        return EntryKind::Device;
    case AE_IFIFO:
        return EntryKind::Fifo;
    default:
        return EntryKind::Other;
    }
}

} // namespace

struct Reader::Source {
    static la_ssize_t read(::archive*, void* client, const void** block) {
        Reader& reader = *static_cast<Reader*>(client);
        const qint64 got = reader.file_->read(reader.block_.data(), reader.block_.size());
        *block = reader.block_.constData();
        reader.bytesRead_ += std::max<qint64>(got, 0);
        return got;
    }

    static la_int64_t seek(::archive*, void* client, la_int64_t offset, int whence) {
        QFile& file = *static_cast<Reader*>(client)->file_;
        const qint64 from = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? file.pos() : file.size();
        return file.seek(from + offset) ? file.pos() : ARCHIVE_FATAL;
    }

    static la_int64_t skip(::archive* archive, void* client, la_int64_t request) {
        const qint64 from = static_cast<Reader*>(client)->file_->pos();
        const la_int64_t to = seek(archive, client, request, SEEK_CUR);
        return to < 0 ? 0 : to - from;
    }
};

Reader::Reader(std::unique_ptr<QFile> file)
    : archive_(archive_read_new()), file_(std::move(file)), block_(kBlockBytes, Qt::Uninitialized),
      opened_(fs::Status::done()) {
    if (!archive_ || !supportsWhatItReads(archive_)) {
        opened_ = fs::Status::failed(QStringLiteral("this build of the program cannot read archives"));
        return;
    }
    archive_read_set_read_callback(archive_, Source::read);
    archive_read_set_seek_callback(archive_, Source::seek);
    archive_read_set_skip_callback(archive_, Source::skip);
    archive_read_set_callback_data(archive_, this);
    if (archive_read_open1(archive_) != ARCHIVE_OK)
        opened_ = fs::Status::failed(error());
}

Reader::~Reader() {
    archive_read_free(archive_);
}

fs::Result<std::optional<Entry>> Reader::next() {
    ::archive_entry* header = nullptr;
    const int status = archive_read_next_header(archive_, &header);
    if (status == ARCHIVE_EOF)
        return std::optional<Entry>();
    if (status < ARCHIVE_WARN || !header)
        return fs::Status::failed(error());
    Entry entry;
    // As wide characters: Windows keeps a name so, and libarchive makes its UTF-8 form there through the ANSI code
    // page, which loses what that cannot hold. Where a conversion puts a stand-in for what it cannot decode instead
    // of failing, the name is no better.
    if (const wchar_t* name = archive_entry_pathname_w(header);
        name && !QString::fromWCharArray(name).contains(QChar::ReplacementCharacter))
        entry.name = QString::fromWCharArray(name);
    entry.kind = kindOf(header);
    if (archive_entry_size_is_set(header))
        entry.size = archive_entry_size(header);
    entry.encrypted = archive_entry_is_encrypted(header);
    if (status == ARCHIVE_WARN)
        entry.doubt = error();
    return std::optional(entry);
}

qint64 Reader::read(char* data, qint64 size) {
    const la_ssize_t got = archive_read_data(archive_, data, size_t(size));
    return got < 0 ? -1 : got;
}

QString Reader::error() const {
    const char* text = archive_ ? archive_error_string(archive_) : nullptr;
    // Some of libarchive's messages end in a line end, which a box would show inside its sentence.
    return text ? QString::fromUtf8(text).trimmed() : QStringLiteral("the archive cannot be read");
}

bool Reader::encrypted() const {
    return archive_read_has_encrypted_entries(archive_) > 0;
}

} // namespace archives
