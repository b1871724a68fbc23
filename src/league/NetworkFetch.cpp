#include "league/NetworkFetch.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QScopedValueRollback>
#include <QTimer>
#include <QUrl>

#include <memory>

namespace league {

namespace {

bool isWebAddress(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

bool isSuccess(const QNetworkReply& reply) {
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return reply.error() == QNetworkReply::NoError && status >= 200 && status < 300;
}

} // namespace

NetworkFetch::NetworkFetch(std::chrono::milliseconds stallTimeout) : stallTimeout_(stallTimeout) {}

void NetworkFetch::cancel() {
    if (current_)
        current_->abort();
}

std::optional<QByteArray> NetworkFetch::fetch(const QString& url) {
    const QUrl address(url, QUrl::StrictMode);
    if (!isWebAddress(address))
        return std::nullopt;

    QNetworkAccessManager manager;
    QNetworkRequest request(address);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(static_cast<int>(stallTimeout_.count()));

    const std::unique_ptr<QNetworkReply> reply(manager.get(request));
    // Qt's own buffer stays small, so an endless body is cut off after the cap, not after the memory; it
    // holds twice the cap, as a smaller one stalls the unpacking of a compressed body until the time-out,
    // where this one lets a body that unpacks past the cap fail at once.
    reply->setReadBufferSize(2 * kMaxBodyBytes);
    const QScopedValueRollback<QNetworkReply*> current(current_, reply.get());
    QByteArray body;
    bool tooLarge = false;
    const auto take = [&] {
        if (tooLarge || !reply->isOpen())
            return;
        body += reply->readAll();
        if (body.size() > kMaxBodyBytes) {
            tooLarge = true;
            body.clear();
            reply->abort();
        }
    };
    QObject::connect(reply.get(), &QNetworkReply::readyRead, reply.get(), take);

    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, reply.get(), &QNetworkReply::abort);
    deadline.start(2 * stallTimeout_);
    if (!reply->isFinished())
        loop.exec();
    take();

    if (tooLarge || !isSuccess(*reply))
        return std::nullopt;
    return body;
}

} // namespace league
