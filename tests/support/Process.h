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

// How a forked child ended: the bytes its work returned when it ran to its end, or killed by kill -9.
struct ChildEnd {
    std::optional<QByteArray> output;
    bool killed = false;
};

// Runs work in a forked child under the limits, ending it after a minute at the latest. POSIX only.
ChildEnd runInChild(const ChildLimits& limits, const std::function<QByteArray()>& work);
