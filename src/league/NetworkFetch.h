#pragma once

#include "league/HttpFetch.h"

#include <chrono>

class QNetworkReply;

namespace league {

// Fetches a league file over http or https with Qt Network. The call blocks its caller but runs a
// local event loop, so the window keeps repainting; the window itself must refuse input meanwhile.
class NetworkFetch : public HttpFetch {
public:
    // A transfer that makes no progress for stallTimeout is abandoned, and so is one that takes
    // longer than twice that in all, so a server trickling bytes cannot hold the caller either.
    explicit NetworkFetch(std::chrono::milliseconds stallTimeout = std::chrono::seconds(60));

    // The body of a 2xx answer of at most kMaxBodyBytes; nothing for anything else.
    std::optional<QByteArray> fetch(const QString& url) override;
    void cancel() override;

    // The league's lists are a few hundred bytes; a larger body is no league file.
    static constexpr qint64 kMaxBodyBytes = 1024 * 1024;

private:
    std::chrono::milliseconds stallTimeout_;
    QNetworkReply* current_ = nullptr;
};

} // namespace league
