#pragma once

#include "app/Ports.h"
#include "fs/FileSystem.h"

// The progress of a command's copies on the window, from construction to destruction, measured
// against the files given.
class ShownProgress {
public:
    ShownProgress(Progress* progress, const QString& what, const QList<fs::Path>& files);
    ~ShownProgress();
    ShownProgress(const ShownProgress&) = delete;
    ShownProgress& operator=(const ShownProgress&) = delete;

    // What to hand to each copy.
    fs::CopyProgress callback() const;

private:
    Progress* progress_;
};
