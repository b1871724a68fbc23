#pragma once

#include "league/HttpFetch.h"

#include <chrono>

namespace league {

// Fetches a league file over http or https with Qt Network. The call blocks its caller but runs a
// local event loop, so the window keeps repainting; the window itself must refuse input meanwhile.
// Every fetch leaves a line in the league's log: its outcome, and for a failure the reason.
class NetworkFetch : public HttpFetch {
public:
    // A transfer that makes no progress for stallTimeout is abandoned, and so is one that takes
    // longer than twice that in all, so a server trickling bytes cannot hold the caller either.
    explicit NetworkFetch(std::chrono::milliseconds stallTimeout = std::chrono::seconds(60));

    // The body of a 2xx answer of at most kMaxBodyBytes, sent as it is stored (no Content-Encoding) and
    // exactly as long as its Content-Length says, when it gives one; nothing for anything else.
    std::optional<QByteArray> fetch(const QString& url) override;
    void cancel() override;
    // Why the last fetch gave nothing, as its line in the log says; empty after one that gave the body.
    const QString& lastFailure() const { return lastFailure_; }

    // The league's lists are a few hundred bytes; a larger body is no league file.
    static constexpr qint64 kMaxBodyBytes = 1024 * 1024;

private:
    struct Transfer;

    std::chrono::milliseconds stallTimeout_;
    Transfer* current_ = nullptr;
    QString lastFailure_;
};

} // namespace league
