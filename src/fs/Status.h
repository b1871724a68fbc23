#pragma once

#include <QString>

namespace fs {

// How a file operation ended: done, or failed for the reason the host gave, kept for the log.
class Status {
public:
    static Status done() { return Status(); }
    static Status failed(const QString& reason) { return Status(reason.isEmpty() ? QStringLiteral("failed") : reason); }

    bool ok() const { return reason_.isEmpty(); }
    const QString& reason() const { return reason_; }

private:
    Status() = default;
    explicit Status(QString reason) : reason_(std::move(reason)) {}

    QString reason_;
};

// Why a file in the way of a copy cannot be replaced.
enum class Obstacle {
    InUse,    // another program holds it open: the game may be running
    ReadOnly, // the member marked it read-only
    Folder,   // a folder of that name stands where the file must go
    Denied,   // the host refuses for another reason
    Failed,   // moving it failed in the middle of placing a set
};

} // namespace fs
