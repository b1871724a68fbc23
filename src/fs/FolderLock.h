#pragma once

#include "fs/Path.h"

#include <memory>

class QLockFile;

namespace fs {

// Keeps two copies of the program from changing one folder at once, for as long as it lives. A lock left by
// a copy that ended without letting go (killed, or the power cut) is taken over.
class FolderLock {
public:
    explicit FolderLock(const Path& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Another copy of the program is changing the folder. A folder that cannot be locked at all (read-only,
    // say) is not held elsewhere: the work then meets the same refusal and reports it.
    bool heldElsewhere() const { return heldElsewhere_; }

private:
    std::unique_ptr<QLockFile> lock_;
    bool heldElsewhere_ = false;
};

} // namespace fs
