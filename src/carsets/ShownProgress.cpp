#include "carsets/ShownProgress.h"

ShownProgress::ShownProgress(Progress* progress, const QString& what, const QList<fs::Path>& files)
    : progress_(progress) {
    if (!progress_)
        return;
    qint64 bytes = 0;
    for (const fs::Path& file : files)
        bytes += fs::sizeOf(file);
    progress_->start(what, static_cast<int>(files.size()), bytes);
}

ShownProgress::~ShownProgress() {
    if (progress_)
        progress_->finish();
}

fs::CopyProgress ShownProgress::callback() const {
    if (!progress_)
        return {};
    return [progress = progress_](qint64 newBytes, int newFiles) { progress->advance(newBytes, newFiles); };
}
