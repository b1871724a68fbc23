#pragma once

#include <QString>
#include <QStringList>

namespace fs {

// Every operation of the file-system service reports its outcome instead of throwing, so each
// caller decides whether to go on with its next step.
enum class FsStatus {
    Ok,
    NotFound,      // the file or folder named is not there
    NothingToCopy, // a wildcard matched no file
    AlreadyExists, // CreateFolder on a folder that is already there
    Failed,        // anything else: permissions, a full disk, a folder in the way ...
};

// Outcome of one CopyFile call, which may cover many files when the source is a wildcard.
struct CopyOutcome {
    FsStatus status = FsStatus::Ok;
    QStringList failedFiles; // names of the files that could not be copied
    int copiedFiles = 0;

    bool ok() const { return status == FsStatus::Ok; }
};

} // namespace fs
