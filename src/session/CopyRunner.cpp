#include "session/CopyRunner.h"

#include <QEventLoop>
#include <QThread>

#include <atomic>
#include <memory>

namespace session {

bool runCopies(Progress* progress, const QString& what, const std::function<void(const carsets::CopyWatch&)>& copies) {
    std::atomic<bool> givenUp = false;
    bool started = false;
    // Lives on this thread, so what the copies report is handed to the progress here.
    QEventLoop loop;
    const auto here = [&loop](std::function<void()> call) {
        QMetaObject::invokeMethod(&loop, std::move(call), Qt::QueuedConnection);
    };
    carsets::CopyWatch watch;
    watch.cancelled = [&givenUp] { return givenUp.load(); };
    if (progress) {
        watch.starting = [&](int files, qint64 bytes) {
            here([&, files, bytes] {
                started = true;
                progress->start(what, files, bytes, [&givenUp] { givenUp = true; });
            });
        };
        watch.progress = [&](qint64 bytes, int files) { here([=] { progress->advance(bytes, files); }); };
    }
    // A thread of Qt's own, not an adopted one: Windows then ends it through Qt's own clean-up.
    const std::unique_ptr<QThread> worker(QThread::create([&] {
        copies(watch);
        // Queued after every report, so each is shown before the loop ends.
        here([&loop] { loop.quit(); });
    }));
    worker->start();
    loop.exec();
    worker->wait();
    if (started)
        progress->finish();
    return givenUp;
}

} // namespace session
