#include "LeagueServer.h"

#include <httplib.h>

#include <array>
#include <fstream>
#include <sstream>
#include <utility>

namespace leagueserver {

namespace {

using namespace std::chrono_literals;

constexpr auto kStartWait = 5s;

constexpr std::array<std::pair<std::string_view, Mode>, 10> kModeNames{{
    {"normal", Mode::Normal},
    {"never-answers", Mode::NeverAnswers},
    {"one-byte-per-second", Mode::OneBytePerSecond},
    {"endless-body", Mode::EndlessBody},
    {"redirect-loop", Mode::RedirectLoop},
    {"not-found", Mode::NotFound},
    {"server-error", Mode::ServerError},
    {"html-error-page", Mode::HtmlErrorPage},
    {"closes-mid-body", Mode::ClosesMidBody},
    {"huge-line", Mode::HugeLine},
}};

// The path of a request target; a client talking to the server as its proxy sends the whole address.
std::string_view pathOf(std::string_view target) {
    for (const std::string_view scheme : {"http://", "https://"}) {
        if (target.substr(0, scheme.size()) == scheme) {
            const std::size_t slash = target.find('/', scheme.size());
            return slash == std::string_view::npos ? std::string_view() : target.substr(slash);
        }
    }
    return target;
}

// A plain file name directly inside root; nothing for names that would leave it.
std::optional<std::filesystem::path> servedFile(const std::filesystem::path& root, std::string_view target) {
    const std::string_view requestPath = pathOf(target);
    if (requestPath.size() < 2 || requestPath.front() != '/')
        return std::nullopt;
    const std::filesystem::path name(requestPath.substr(1));
    if (name != name.filename() || name == "." || name == ".." || requestPath.find('\\') != std::string_view::npos)
        return std::nullopt;
    const std::filesystem::path file = root / name;
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return std::nullopt;
    return file;
}

std::optional<std::string> readWhole(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::optional<std::string> fileBody(const std::filesystem::path& root, const std::string& requestPath) {
    const std::optional<std::filesystem::path> file = servedFile(root, requestPath);
    return file ? readWhole(*file) : std::nullopt;
}

} // namespace

std::optional<Mode> modeFromName(std::string_view name) {
    for (const auto& [text, mode] : kModeNames)
        if (text == name)
            return mode;
    return std::nullopt;
}

LeagueServer::LeagueServer(std::filesystem::path root)
    : root_(std::move(root)), server_(std::make_unique<httplib::Server>()) {
    // Short socket waits keep the shutdown quick while a client dawdles.
    // Short socket waits keep the shutdown quick while a client dawdles.
    server_->set_keep_alive_timeout(1);
    server_->set_write_timeout(1);
    server_->Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
        switch (mode_.load()) {
        case Mode::Normal:
            if (const std::optional<std::string> body = fileBody(root_, req.path))
                res.set_content(*body, "text/plain");
            else
                errorPage(res, 404);
            return;
        case Mode::NeverAnswers:
            holdWithoutAnswer(stop_);
            return;
        case Mode::OneBytePerSecond:
            tricklePerSecond(res, stop_);
            return;
        case Mode::EndlessBody:
            endlessBody(res, stop_);
            return;
        case Mode::RedirectLoop:
            redirectInLoop(req, res);
            return;
        case Mode::NotFound:
            errorPage(res, 404);
            return;
        case Mode::ServerError:
            errorPage(res, 500);
            return;
        case Mode::HtmlErrorPage:
            errorPage(res, 200);
            return;
        case Mode::ClosesMidBody:
            closeMidBody(res, fileBody(root_, req.path).value_or(std::string()));
            return;
        case Mode::HugeLine:
            singleHugeLine(res);
            return;
        }
    });
}

LeagueServer::~LeagueServer() {
    stop_.raise();
    if (listener_.joinable()) {
        server_->stop();
        listener_.join();
    }
}

std::optional<int> LeagueServer::start(int port) {
    if (listener_.joinable())
        return std::nullopt;
    const int bound =
        port == 0 ? server_->bind_to_any_port("127.0.0.1") : (server_->bind_to_port("127.0.0.1", port) ? port : -1);
    if (bound <= 0)
        return std::nullopt;
    listener_ = std::thread([this] { server_->listen_after_bind(); });
    // stop() only reaches a server that is already running.
    const auto deadline = std::chrono::steady_clock::now() + kStartWait;
    while (!server_->is_running() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    if (!server_->is_running())
        return std::nullopt;
    return bound;
}

} // namespace leagueserver
