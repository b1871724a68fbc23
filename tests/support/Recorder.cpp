#include "support/Recorder.h"

std::optional<QByteArray> CannedSite::fetch(const QString& url) {
    const QString name = url.section(QLatin1Char('/'), -1);
    return files.contains(name) ? std::optional(files.value(name)) : std::nullopt;
}

void Recorder::show(const QStringList& entries) {
    listed = entries;
    selectedRow.reset();
}

bool Recorder::ask(const QString& title, const QString& prompt) {
    tell(title, prompt);
    return !answers.isEmpty() && answers.takeFirst();
}

void Recorder::start(const QString&, int files, qint64 bytes, std::function<void()> cancel) {
    left = {files, bytes};
    cancelCopies = cancel;
    if (whileCopying)
        whileCopying();
}

void Recorder::advance(qint64 bytes, int files) {
    left = {left.first - files, left.second - bytes};
    if (left.first < 0 || left.second < 0)
        boxes << "(progress past its total)";
}

StartedSession::StartedSession(const fs::Path& carFolder, league::HttpFetch& fetch)
    : carFolder(carFolder), session(carFolder, {window, window, window, fetch, window, &window}) {
    session.start();
    startBoxes = window.takeBoxes();
}

void StartedSession::swap(std::optional<int> row) {
    window.selectedRow = row;
    session.swapInSelectedPack();
}

void StartedSession::backUp(bool yes) {
    window.answers = {yes};
    session.backUpActiveCars();
}
