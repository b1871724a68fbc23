#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// An archive written by libarchive from entries "KIND:NAME" or "KIND:NAME>TARGET": f a file holding contents(NAME), d
// a folder, l a symbolic link, h a hard link, c a device, p a FIFO. Names are UTF-8, declared so where the format can
// say it; an encrypting option encrypts with the passphrase "secret".
QByteArray archiveOf(const QString& format, const QString& filter, const QString& options, const QStringList& entries,
                     const std::function<QByteArray(const QString&)>& contents);

// The archive damaged as named: "cut off" at half its length, "a bad checksum" in the bytes after `inside`, "a bomb"
// whose last zip entry announces 1,000 bytes, "a name that is no UTF-8" where it holds an "é".
QByteArray damaged(QByteArray bytes, const QString& damage, const QByteArray& inside = {});
