#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

namespace httplib {
struct Request;
struct Response;
} // namespace httplib

namespace leagueserver {

// Lets every slow reply end at once when the server stops.
class StopSignal {
public:
    void raise();
    // Waits for the duration; false when the server is stopping.
    bool waitFor(std::chrono::milliseconds duration);

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool raised_ = false;
};

// The broken answers, each bounded in bytes and time so that no client can keep the server busy forever.
void holdWithoutAnswer(StopSignal& stop);
void tricklePerSecond(httplib::Response& res, StopSignal& stop);
void endlessBody(httplib::Response& res, StopSignal& stop);
void redirectInLoop(const httplib::Request& req, httplib::Response& res);
void errorPage(httplib::Response& res, int status);
void closeMidBody(httplib::Response& res, std::string body);
void singleHugeLine(httplib::Response& res);

} // namespace leagueserver
