#include "LeagueServer.h"

#include "Gzip.h"

#include <QPointer>
#include <QSslServer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrlQuery>

#include <array>
#include <utility>

namespace leagueserver {

namespace {

constexpr std::array<std::pair<QStringView, Mode>, 13> kModeNames{{
    {u"normal", Mode::Normal},
    {u"never-answers", Mode::NeverAnswers},
    {u"one-byte-per-second", Mode::OneBytePerSecond},
    {u"endless-body", Mode::EndlessBody},
    {u"redirect-loop", Mode::RedirectLoop},
    {u"not-found", Mode::NotFound},
    {u"server-error", Mode::ServerError},
    {u"multiple-choices", Mode::MultipleChoices},
    {u"html-error-page", Mode::HtmlErrorPage},
    {u"closes-mid-body", Mode::ClosesMidBody},
    {u"two-lengths", Mode::TwoLengths},
    {u"huge-line", Mode::HugeLine},
    {u"gzip-bomb", Mode::GzipBomb},
}};

constexpr qsizetype kLongestRequest = 64 * 1024;
constexpr int kTrickleBytes = 600;
constexpr qsizetype kEndlessBlock = 64 * 1024;
constexpr qint64 kEndlessLimit = 256 * 1024 * 1024;
constexpr int kRedirectHops = 1000;
constexpr qsizetype kHugeLineBytes = 1024 * 1024;
constexpr qsizetype kBombUnpackedBytes = 256 * 1024 * 1024;

QByteArray statusLine(int status) {
    switch (status) {
    case 200:
        return "HTTP/1.1 200 OK\r\n";
    case 300:
        return "HTTP/1.1 300 Multiple Choices\r\n";
    case 302:
        return "HTTP/1.1 302 Found\r\n";
    case 404:
        return "HTTP/1.1 404 Not Found\r\n";
    default:
        return "HTTP/1.1 500 Internal Server Error\r\n";
    }
}

QByteArray head(int status, const QByteArray& fields) {
    return statusLine(status) + fields + "Connection: close\r\n\r\n";
}

QByteArray contentLength(qint64 bytes) {
    return "Content-Length: " + QByteArray::number(bytes) + "\r\n";
}

QByteArray errorPage(int status) {
    return "<html><head><title>Error " + QByteArray::number(status) +
           "</title></head><body><h1>Something went wrong</h1>\r\n<p>Please try again later.</p></body></html>\r\n";
}

// The request's path and query; a client talking to the server as its proxy sends the whole address.
struct Request {
    QString path;
    QUrlQuery query;
    bool acceptsGzip = false;
};

std::optional<Request> parseRequest(const QByteArray& header) {
    const QList<QByteArray> lines = header.split('\n');
    const QList<QByteArray> words = lines.first().trimmed().split(' ');
    if (words.size() != 3 || words[0] != "GET")
        return std::nullopt;
    const QUrl target(QString::fromLatin1(words[1]));
    Request request{target.path(), QUrlQuery(target), false};
    for (const QByteArray& line : lines)
        if (line.toLower().startsWith("accept-encoding:") && line.toLower().contains("gzip"))
            request.acceptsGzip = true;
    return request;
}

} // namespace

void PublishedFiles::publish(const QString& name, const QByteArray& bytes) {
    const QMutexLocker lock(&mutex_);
    files_.insert(name, bytes);
}

void PublishedFiles::withdraw(const QString& name) {
    const QMutexLocker lock(&mutex_);
    files_.remove(name);
}

std::optional<QByteArray> PublishedFiles::file(const QString& name) const {
    const QMutexLocker lock(&mutex_);
    const auto found = files_.constFind(name);
    return found == files_.constEnd() ? std::nullopt : std::optional(found.value());
}

std::optional<Mode> modeFromName(QStringView name) {
    for (const auto& [text, mode] : kModeNames)
        if (text == name)
            return mode;
    return std::nullopt;
}

// The site on the server's thread: one exchange per connection, each answered by the mode in force
// when its request arrived. Slow answers are driven by timers, so one client never holds another.
class Site : public QObject {
public:
    Site(const PublishedFiles& files, const std::atomic<Mode>& mode, const QSslConfiguration& tls)
        : files_(files), mode_(mode) {
        if (tls.localCertificate().isNull()) {
            server_ = new QTcpServer(this);
        } else {
            auto* https = new QSslServer(this);
            https->setSslConfiguration(tls);
            server_ = https;
        }
    }

    std::optional<quint16> listen(quint16 port) {
        if (!server_->listen(QHostAddress::LocalHost, port))
            return std::nullopt;
        // Only once its handshake is done is an https connection pending.
        connect(server_, &QTcpServer::pendingConnectionAvailable, this, &Site::accept);
        return server_->serverPort();
    }

private:
    void accept() {
        while (QTcpSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { readRequest(*socket); });
        }
    }

    void readRequest(QTcpSocket& socket) {
        if (socket.property("answered").toBool())
            return;
        QByteArray header = socket.property("header").toByteArray() + socket.readAll();
        socket.setProperty("header", header);
        const qsizetype end = header.indexOf("\r\n\r\n");
        if (end < 0 && header.size() < kLongestRequest)
            return;
        socket.setProperty("answered", true);
        const std::optional<Request> request = parseRequest(header.left(end));
        if (!request) {
            finish(socket, head(404, contentLength(0)));
            return;
        }
        answer(socket, *request);
    }

    void answer(QTcpSocket& socket, const Request& request) {
        const std::optional<QByteArray> file = files_.file(request.path.mid(1));
        switch (mode_.load()) {
        case Mode::Normal:
            if (!file)
                finish(socket, head(404, contentLength(errorPage(404).size())) + errorPage(404));
            else if (request.acceptsGzip)
                finish(socket,
                       head(200, "Content-Encoding: gzip\r\n" + contentLength(gzip(*file).size())) + gzip(*file));
            else
                finish(socket, head(200, contentLength(file->size())) + *file);
            return;
        case Mode::NeverAnswers:
            return;
        case Mode::OneBytePerSecond:
            trickle(socket);
            return;
        case Mode::EndlessBody:
            endless(socket);
            return;
        case Mode::RedirectLoop: {
            const int hop = request.query.queryItemValue(QStringLiteral("hop")).toInt();
            if (hop >= kRedirectHops)
                finish(socket, head(404, contentLength(0)));
            else
                finish(socket, head(302, "Location: " + request.path.toUtf8() + "?hop=" + QByteArray::number(hop + 1) +
                                             "\r\n" + contentLength(0)));
            return;
        }
        case Mode::NotFound:
        case Mode::ServerError:
        case Mode::MultipleChoices:
        case Mode::HtmlErrorPage: {
            static const QHash<Mode, int> kStatus{
                {Mode::NotFound, 404}, {Mode::ServerError, 500}, {Mode::MultipleChoices, 300}};
            const int status = kStatus.value(mode_, 200);
            finish(socket, head(status, contentLength(errorPage(status).size())) + errorPage(status));
            return;
        }
        case Mode::ClosesMidBody: {
            // Announces the whole body and one byte more, sends the first half and hangs up.
            const QByteArray body = file.value_or(QByteArray());
            finish(socket, head(200, contentLength(body.size() + 1)) + body.left(body.size() / 2));
            return;
        }
        case Mode::TwoLengths: {
            // Gives the length of half the body, then of the whole, and sends the whole.
            const QByteArray body = file.value_or(QByteArray());
            finish(socket, head(200, contentLength(body.size() / 2) + contentLength(body.size())) + body);
            return;
        }
        case Mode::HugeLine:
            finish(socket, head(200, contentLength(kHugeLineBytes)) + QByteArray(kHugeLineBytes, 'x'));
            return;
        case Mode::GzipBomb: {
            static const QByteArray bomb = gzip(QByteArray(kBombUnpackedBytes, '\0'));
            finish(socket, head(200, "Content-Encoding: gzip\r\n" + contentLength(bomb.size())) + bomb);
            return;
        }
        }
    }

    static void finish(QTcpSocket& socket, const QByteArray& bytes) {
        socket.write(bytes);
        socket.disconnectFromHost();
    }

    void trickle(QTcpSocket& socket) {
        socket.write(head(200, contentLength(kTrickleBytes)) + "x");
        auto* timer = new QTimer(&socket);
        connect(timer, &QTimer::timeout, &socket, [&socket, sent = 1]() mutable {
            socket.write("x");
            if (++sent == kTrickleBytes)
                socket.disconnectFromHost();
        });
        timer->start(1000);
    }

    void endless(QTcpSocket& socket) {
        socket.write(head(200, "Transfer-Encoding: chunked\r\n"));
        static const QByteArray chunk =
            QByteArray::number(kEndlessBlock, 16) + "\r\n" + QByteArray(kEndlessBlock, 'x') + "\r\n";
        // Writes a block each time the last one has gone, so the server never holds more than one.
        connect(&socket, &QTcpSocket::bytesWritten, &socket, [&socket, sent = qint64(0)]() mutable {
            if (socket.bytesToWrite() > 0)
                return;
            if ((sent += kEndlessBlock) > kEndlessLimit) {
                socket.disconnectFromHost();
                return;
            }
            socket.write(chunk);
        });
        socket.write(chunk);
    }

    const PublishedFiles& files_;
    const std::atomic<Mode>& mode_;
    QTcpServer* server_; // a child, so it moves to the server's thread with the site
};

LeagueServer::LeagueServer(quint16 port, const QSslConfiguration& tls)
    : site_(new Site(files_, mode_, tls)), https_(!tls.localCertificate().isNull()) {
    site_->moveToThread(&thread_);
    QObject::connect(&thread_, &QThread::finished, site_, &QObject::deleteLater);
    thread_.start();
    std::optional<quint16> bound;
    QMetaObject::invokeMethod(
        site_, [&] { bound = site_->listen(port); }, Qt::BlockingQueuedConnection);
    if (!bound)
        qFatal("the league site cannot listen on 127.0.0.1:%u", port);
    port_ = *bound;
}

LeagueServer::~LeagueServer() {
    thread_.quit();
    thread_.wait();
}

QString LeagueServer::baseUrl() const {
    return QStringLiteral("%1://127.0.0.1:%2/").arg(https_ ? "https" : "http").arg(port_);
}

} // namespace leagueserver
