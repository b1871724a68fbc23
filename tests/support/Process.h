#pragma once

#include <QByteArray>

#include <functional>
#include <optional>

// What a forked child may not do: write files past diskRoom bytes, as on a disk that fills up, or,
// unprivileged, write where only root may (a root child becomes the user nobody).
struct ChildLimits {
    std::optional<qint64> diskRoom;
    bool unprivileged = false;
};

// Runs work in a forked child under the limits; the bytes the work returned, or nothing when the child
// did not finish. POSIX only.
std::optional<QByteArray> runInChild(const ChildLimits& limits, const std::function<QByteArray()>& work);

// Runs work in a forked child: true when kill -9 ended it, false when it ran to its end; nothing when it
// failed otherwise. POSIX only.
std::optional<bool> killedInChild(const std::function<void()>& work);

// The most memory this process has held so far, in KiB; a forked child starts from what its parent held,
// so in a child run for one case the growth is what that case took.
qint64 peakKiB();
