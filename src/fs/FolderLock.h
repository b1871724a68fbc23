#pragma once

#include "fs/Path.h"

#include <QString>

#include <memory>

class QFile;

namespace fs {

// The file in a folder whose lock keeps two copies of the program from changing the folder at once.
inline const Path kLockFile(".tarvok.lock");

// Holds the folder for this copy of the program, for as long as it lives. The lock is the host's own on the
// lock file: it goes with the copy that holds it, however that ends, and nothing but its end takes it away.
class FolderLock {
public:
    enum class State {
        Held,          // this copy may change the folder
        HeldElsewhere, // another copy of the program is changing it now
        CannotLock,    // the lock file cannot be used: reason() says why
    };

    explicit FolderLock(const Path& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    State state() const { return state_; }
    const QString& reason() const { return reason_; }

private:
    Path file_;
    std::unique_ptr<QFile> lock_;
    State state_ = State::Held;
    QString reason_;
};

} // namespace fs
