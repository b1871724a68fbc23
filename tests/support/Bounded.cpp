#include "support/Bounded.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

bool finishesWithin(std::chrono::milliseconds limit, const std::function<void()>& work) {
    struct Shared {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
    };
    const auto shared = std::make_shared<Shared>();
    std::thread([shared, work] {
        work();
        const std::lock_guard lock(shared->mutex);
        shared->finished = true;
        shared->done.notify_all();
    }).detach();
    std::unique_lock lock(shared->mutex);
    return shared->done.wait_for(lock, limit, [&] { return shared->finished; });
}
