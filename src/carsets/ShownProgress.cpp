#include "carsets/ShownProgress.h"

ShownProgress::ShownProgress(Progress* progress, const QString& what, const fs::FileSystem& fso,
                             const QStringList& sources)
    : progress_(progress) {
    if (!progress_)
        return;
    fs::CopySize total;
    for (const QString& source : sources) {
        const fs::CopySize size = fso.sizeOfCopy(source);
        total.files += size.files;
        total.bytes += size.bytes;
    }
    progress_->start(what, total.files, total.bytes);
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
