#pragma once

#include "HostileReplies.h"

#include <atomic>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <thread>

namespace httplib {
class Server;
}

namespace leagueserver {

// How the server answers every request: normally, or as one of the broken servers a member may meet.
enum class Mode {
    Normal,
    NeverAnswers,
    OneBytePerSecond,
    EndlessBody,
    RedirectLoop,
    NotFound,
    ServerError,
    HtmlErrorPage,
    ClosesMidBody,
    HugeLine,
};

// The mode named on the command line ("normal", "never-answers", "one-byte-per-second", "endless-body",
// "redirect-loop", "not-found", "server-error", "html-error-page", "closes-mid-body", "huge-line").
std::optional<Mode> modeFromName(std::string_view name);

// A league web site on 127.0.0.1 serving the files of one folder by name (GET /name). It runs on a
// thread of its own and stops when destroyed.
class LeagueServer {
public:
    explicit LeagueServer(std::filesystem::path root);
    ~LeagueServer();
    LeagueServer(const LeagueServer&) = delete;
    LeagueServer& operator=(const LeagueServer&) = delete;

    // Starts listening on the port (0: any free one); the port in use, or nothing when it cannot listen.
    std::optional<int> start(int port = 0);
    void setMode(Mode mode) { mode_ = mode; }

private:
    std::filesystem::path root_;
    std::atomic<Mode> mode_{Mode::Normal};
    StopSignal stop_;
    std::unique_ptr<httplib::Server> server_;
    std::thread listener_;
};

} // namespace leagueserver
