#pragma once

#include "app/Ports.h"
#include "fs/FileSystem.h"

#include <QStringList>

// The progress of a command's copies on the window, from construction to destruction, measured
// against everything the given sources hold.
class ShownProgress {
public:
    ShownProgress(Progress* progress, const QString& what, const fs::FileSystem& fso, const QStringList& sources);
    ~ShownProgress();
    ShownProgress(const ShownProgress&) = delete;
    ShownProgress& operator=(const ShownProgress&) = delete;

    // What to hand to each copy.
    fs::CopyProgress callback() const;

private:
    Progress* progress_;
};
