#include "league/NetworkFetch.h"

#include "league/Log.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QScopedValueRollback>
#include <QTimer>
#include <QUrl>

#include <memory>

namespace league {

// One request under way: its reply, the body so far, and why the program gave it up, if it did.
struct NetworkFetch::Transfer {
    std::unique_ptr<QNetworkReply> reply;
    QByteArray body;
    QString givenUp;

    // Qt then fails the reply as a cancel, whatever the reason; the first reason is the one that counts.
    void giveUp(const QString& reason) {
        if (givenUp.isEmpty())
            givenUp = reason;
        reply->abort();
    }
};

namespace {

bool isWebAddress(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

int statusOf(const QNetworkReply& reply) {
    return reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

// Why a finished transfer gives no file, or nothing when its body is the file.
QString failureOf(const QNetworkReply& reply, const QString& givenUp, qint64 bodyBytes,
                  std::chrono::milliseconds stallTimeout) {
    if (!givenUp.isEmpty())
        return givenUp;
    // The program gives up only through giveUp, so a cancel without a reason is Qt's own stall time-out.
    if (reply.error() == QNetworkReply::OperationCanceledError)
        return QStringLiteral("no progress for %1 ms").arg(stallTimeout.count());
    if (reply.error() != QNetworkReply::NoError)
        return reply.errorString();
    const int status = statusOf(reply);
    if (status < 200 || status >= 300)
        return QStringLiteral("status %1 is no success").arg(status);
    const QByteArray encoding = reply.rawHeader("Content-Encoding").trimmed();
    if (!encoding.isEmpty() && encoding.compare("identity", Qt::CaseInsensitive) != 0)
        return QStringLiteral("the body is encoded as %1").arg(QString::fromLatin1(encoding));
    // Qt may take a connection closed early as the end of the body, and reads only the first of two lengths,
    // so the body is held against every length given (Qt joins repeated fields with commas).
    if (reply.hasRawHeader("Content-Length")) {
        const QByteArray lengths = reply.rawHeader("Content-Length");
        for (const QByteArray& length : lengths.split(',')) {
            bool isNumber = false;
            if (length.trimmed().toLongLong(&isNumber) != bodyBytes || !isNumber)
                return QStringLiteral("the body is %1 bytes where its Content-Length says %2")
                    .arg(bodyBytes)
                    .arg(QString::fromLatin1(lengths));
        }
    }
    return {};
}

// One line for each fetch, enough to tell afterwards what the site sent and why it was not taken.
void logFetch(const QString& url, const QNetworkReply& reply, qint64 bodyBytes, qint64 tookMs, const QString& failure) {
    const QString outcome =
        QStringLiteral("status %1, %2 bytes, %3 ms").arg(statusOf(reply)).arg(bodyBytes).arg(tookMs);
    if (failure.isEmpty()) {
        qCInfo(leagueLog).noquote() << QStringLiteral("fetch %1: %2").arg(url, outcome);
        return;
    }
    const bool qtSaysMore = reply.error() != QNetworkReply::NoError && reply.errorString() != failure;
    const QString qtError = qtSaysMore ? "; Qt: " + reply.errorString() : QString();
    qCWarning(leagueLog).noquote() << QStringLiteral("fetch %1 failed: %2; %3%4").arg(url, failure, outcome, qtError);
}

} // namespace

NetworkFetch::NetworkFetch(std::chrono::milliseconds stallTimeout) : stallTimeout_(stallTimeout) {}

void NetworkFetch::cancel() {
    if (current_)
        current_->giveUp(QStringLiteral("the member gave up"));
}

std::optional<QByteArray> NetworkFetch::fetch(const QString& url) {
    QElapsedTimer took;
    took.start();
    const QUrl address(url, QUrl::StrictMode);
    if (!isWebAddress(address)) {
        lastFailure_ = QStringLiteral("not an http or https address");
        qCWarning(leagueLog).noquote() << QStringLiteral("fetch %1 failed: %2").arg(url, lastFailure_);
        return std::nullopt;
    }

    QNetworkAccessManager manager;
    QNetworkRequest request(address);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    // Asked for the file as stored, a server that knows its size says it, so a body cut short shows.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setTransferTimeout(static_cast<int>(stallTimeout_.count()));

    Transfer transfer{std::unique_ptr<QNetworkReply>(manager.get(request)), {}, {}};
    QNetworkReply& reply = *transfer.reply;
    // Qt's own buffer stays small, so an endless body is cut off after the cap, not after the memory.
    reply.setReadBufferSize(kMaxBodyBytes);
    const QScopedValueRollback<Transfer*> current(current_, &transfer);
    const auto take = [&] {
        if (!reply.isOpen())
            return;
        transfer.body += reply.readAll();
        if (transfer.body.size() > kMaxBodyBytes)
            transfer.giveUp(QStringLiteral("the body is over %1 bytes").arg(kMaxBodyBytes));
    };
    QObject::connect(&reply, &QNetworkReply::readyRead, &reply, take);

    QEventLoop loop;
    QObject::connect(&reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &reply,
                     [&] { transfer.giveUp(QStringLiteral("over %1 ms in all").arg((2 * stallTimeout_).count())); });
    deadline.start(2 * stallTimeout_);
    if (!reply.isFinished())
        loop.exec();
    take();

    lastFailure_ = failureOf(reply, transfer.givenUp, transfer.body.size(), stallTimeout_);
    logFetch(url, reply, transfer.body.size(), took.elapsed(), lastFailure_);
    if (!lastFailure_.isEmpty())
        return std::nullopt;
    return transfer.body;
}

} // namespace league
