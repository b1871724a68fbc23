#pragma once

#include <QByteArray>
#include <QHash>
#include <QMutex>
#include <QSslConfiguration>
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
    MultipleChoices,
    HtmlErrorPage,
    ClosesMidBody,
    TwoLengths,
    HugeLine,
    GzipBomb,
};

// The mode named on the command line ("normal", "never-answers", "one-byte-per-second", "endless-body",
// "redirect-loop", "not-found", "server-error", "multiple-choices", "html-error-page", "closes-mid-body",
// "two-lengths", "huge-line", "gzip-bomb").
std::optional<Mode> modeFromName(QStringView name);

class Site;

// The files a league web site serves, by name; the server's thread reads them while others publish.
class PublishedFiles {
public:
    void publish(const QString& name, const QByteArray& bytes);
    void withdraw(const QString& name);
    std::optional<QByteArray> file(const QString& name) const;

private:
    mutable QMutex mutex_;
    QHash<QString, QByteArray> files_;
};

// A league web site on 127.0.0.1 serving the files published to it by name (GET /name), compressed for
// clients that accept gzip. It runs on a thread of its own and stops when destroyed.
class LeagueServer {
public:
    // Listens on the port (0: any free one), over https when tls holds a certificate and its key; a server
    // that cannot listen ends the program.
    explicit LeagueServer(quint16 port = 0, const QSslConfiguration& tls = {});
    ~LeagueServer();
    LeagueServer(const LeagueServer&) = delete;
    LeagueServer& operator=(const LeagueServer&) = delete;

    quint16 port() const { return port_; }
    QString baseUrl() const; // "http://127.0.0.1:PORT/", or https
    void publish(const QString& name, const QByteArray& bytes) { files_.publish(name, bytes); }
    void withdraw(const QString& name) { files_.withdraw(name); }
    void setMode(Mode mode) { mode_ = mode; }

private:
    std::atomic<Mode> mode_{Mode::Normal};
    PublishedFiles files_;
    QThread thread_;
    Site* site_;
    quint16 port_ = 0;
    bool https_ = false;
};

} // namespace leagueserver
