#include "HostileReplies.h"

#include <httplib.h>

#include <memory>

namespace leagueserver {

namespace {

using namespace std::chrono_literals;

constexpr auto kLongestHold = 10min;
constexpr std::size_t kTrickleBytes = 600;
constexpr std::size_t kEndlessBlock = 64 * 1024;
constexpr std::size_t kEndlessLimit = 256 * 1024 * 1024;
constexpr int kRedirectHops = 1000;
constexpr std::size_t kHugeLineBytes = 1024 * 1024;
const char* const kBinary = "application/octet-stream";

} // namespace

void StopSignal::raise() {
    {
        const std::lock_guard lock(mutex_);
        raised_ = true;
    }
    changed_.notify_all();
}

bool StopSignal::waitFor(std::chrono::milliseconds duration) {
    std::unique_lock lock(mutex_);
    return !changed_.wait_for(lock, duration, [this] { return raised_; });
}

void holdWithoutAnswer(StopSignal& stop) {
    stop.waitFor(kLongestHold);
}

void tricklePerSecond(httplib::Response& res, StopSignal& stop) {
    res.set_content_provider(kTrickleBytes, kBinary, [&stop](std::size_t offset, std::size_t, httplib::DataSink& sink) {
        if (offset > 0 && !stop.waitFor(1s))
            return false;
        return sink.write("x", 1);
    });
}

void endlessBody(httplib::Response& res, StopSignal& stop) {
    auto sent = std::make_shared<std::size_t>(0);
    res.set_chunked_content_provider(kBinary, [&stop, sent](std::size_t, httplib::DataSink& sink) {
        static const std::string block(kEndlessBlock, 'x');
        if (*sent >= kEndlessLimit || !stop.waitFor(0ms))
            return false;
        *sent += block.size();
        return sink.write(block.data(), block.size());
    });
}

void redirectInLoop(const httplib::Request& req, httplib::Response& res) {
    const int hop = req.has_param("hop") ? std::atoi(req.get_param_value("hop").c_str()) : 0;
    if (hop >= kRedirectHops) {
        errorPage(res, 404);
        return;
    }
    res.set_redirect(req.path + "?hop=" + std::to_string(hop + 1));
}

void errorPage(httplib::Response& res, int status) {
    res.status = status;
    res.set_content("<html><head><title>Error " + std::to_string(status) +
                        "</title></head><body><h1>Something went wrong</h1>\r\n<p>Please try again later.</p></body>"
                        "</html>\r\n",
                    "text/html");
}

void closeMidBody(httplib::Response& res, std::string body) {
    // Announces the whole body and one byte more, sends the first half and hangs up.
    const std::size_t announced = body.size() + 1;
    auto content = std::make_shared<std::string>(std::move(body));
    res.set_content_provider(announced, kBinary, [content](std::size_t offset, std::size_t, httplib::DataSink& sink) {
        const std::size_t half = content->size() / 2;
        if (offset < half)
            return sink.write(content->data() + offset, half - offset);
        return false;
    });
}

void singleHugeLine(httplib::Response& res) {
    res.set_content(std::string(kHugeLineBytes, 'x'), "text/plain");
}

} // namespace leagueserver
