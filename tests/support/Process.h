#pragma once

#include <QByteArray>

#include <functional>
#include <optional>

// Runs work in a forked child whose files cannot grow past diskRoom bytes, as on a disk that fills
// up; the bytes the work returned, or nothing when the child did not finish. Unix only.
std::optional<QByteArray> runWithDiskRoom(qint64 diskRoom, const std::function<QByteArray()>& work);

// The most memory this process has held so far, in KiB (0 where the host does not tell).
qint64 maxResidentKiB();
