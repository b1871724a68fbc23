#include "fs/FolderLock.h"

#include <QLockFile>

namespace fs {

FolderLock::FolderLock(const Path& folder) : lock_(std::make_unique<QLockFile>(displayName(folder / ".tarvok.lock"))) {
    // The owner of a lock holds the file itself locked while it lives, so the file of one that died, even in
    // the middle of writing it, can be removed, and a live owner's cannot.
    if (!lock_->tryLock(0) && lock_->error() == QLockFile::LockFailedError)
        heldElsewhere_ = !lock_->removeStaleLockFile() || !lock_->tryLock(0);
}

FolderLock::~FolderLock() = default;

} // namespace fs
