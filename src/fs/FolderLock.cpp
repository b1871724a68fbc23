#include "fs/FolderLock.h"

#include "fs/FileSystem.h"
#include "fs/HostFile.h"
#include "fs/Log.h"

namespace fs {

FolderLock::FolderLock(const Path& folder) : file_(folder / kLockFile) {
    bool heldElsewhere = false;
    lock_ = host::lockFile(file_, heldElsewhere);
    if (lock_ || heldElsewhere) {
        state_ = lock_ ? State::Held : State::HeldElsewhere;
        return;
    }
    state_ = State::CannotLock;
    const Status failed = failedToOpen(file_);
    reason_ = isFolder(file_) ? QStringLiteral("a folder of that name is in the way") : failed.reason();
    qCWarning(fsLog).noquote() << QStringLiteral("%1 cannot be locked: %2").arg(displayName(file_), reason_);
}

FolderLock::~FolderLock() {
    if (lock_)
        host::releaseLock(file_, std::move(lock_));
}

} // namespace fs
