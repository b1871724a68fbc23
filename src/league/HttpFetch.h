#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace league {

// Fetches a URL and returns the whole body, or nothing when no usable body could be fetched.
class HttpFetch {
public:
    virtual ~HttpFetch() = default;
    virtual std::optional<QByteArray> fetch(const QString& url) = 0;
    // Abandons the fetch under way, which then fails; called from within it, as the member gives up.
    virtual void cancel() = 0;
};

} // namespace league
