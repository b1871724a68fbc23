#pragma once

#include <QString>
#include <QStringView>
#include <QThread>

#include <atomic>
#include <optional>

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
    GzipBomb,
};

// The mode named on the command line ("normal", "never-answers", "one-byte-per-second", "endless-body",
// "redirect-loop", "not-found", "server-error", "html-error-page", "closes-mid-body", "huge-line",
// "gzip-bomb").
std::optional<Mode> modeFromName(QStringView name);

class Site;

// A league web site on 127.0.0.1 serving the files of one folder by name (GET /name), compressed
// for clients that accept gzip. It runs on a thread of its own and stops when destroyed.
class LeagueServer {
public:
    explicit LeagueServer(const QString& root);
    ~LeagueServer();
    LeagueServer(const LeagueServer&) = delete;
    LeagueServer& operator=(const LeagueServer&) = delete;

    // Starts listening on the port (0: any free one); the port in use, or nothing when it cannot listen.
    std::optional<quint16> start(quint16 port = 0);
    void setMode(Mode mode) { mode_ = mode; }

private:
    std::atomic<Mode> mode_{Mode::Normal};
    QThread thread_;
    Site* site_;
};

} // namespace leagueserver
