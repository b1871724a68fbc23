#pragma once

#include <QString>

#include <optional>

namespace fs {

// How a file operation ended: done, or failed for the reason the host gave, kept for the log; a full disk is told
// apart, as the one failure a member can mend by making room.
class Status {
public:
    static Status done() { return Status(); }
    static Status failed(const QString& reason, bool noRoom = false) {
        return Status(reason.isEmpty() ? QStringLiteral("failed") : reason, noRoom);
    }

    bool ok() const { return reason_.isEmpty(); }
    const QString& reason() const { return reason_; }
    bool noRoom() const { return noRoom_; }

private:
    Status() = default;
    Status(QString reason, bool noRoom) : reason_(std::move(reason)), noRoom_(noRoom) {}

    QString reason_;
    bool noRoom_ = false;
};

// A value, or the host's reason why there is none.
template <typename T> class Result {
public:
    Result(T value) : value_(std::move(value)), status_(Status::done()) {}
    Result(Status failure) : status_(std::move(failure)) {}

    explicit operator bool() const { return value_.has_value(); }
    const T& operator*() const { return *value_; }
    const T* operator->() const { return &*value_; }
    T value_or(T fallback) const { return value_.value_or(std::move(fallback)); }
    const std::optional<T>& asOptional() const { return value_; }
    const Status& status() const { return status_; }

private:
    std::optional<T> value_;
    Status status_;
};

// Why a file in the way of a copy cannot be replaced.
enum class Obstacle {
    InUse,    // another program holds it open: the game may be running
    ReadOnly, // the member marked it read-only
    Folder,   // a folder of that name stands where the file must go
    Denied,   // the host refuses for another reason
    Failed,   // moving it failed in the middle of placing a set
    NoRoom,   // the disk had no room for what placing must write first
};

} // namespace fs
