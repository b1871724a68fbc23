#pragma once

#include <QSslConfiguration>

namespace leagueserver {

// The certificates made when the server was built, each self-signed for 127.0.0.1 and its key kept with it:
// the site's own, which TrustedSite makes trusted, and a stranger's, which nothing does.
enum class Certificate { Site, Stranger };

// The configuration of an https site answering with the certificate.
QSslConfiguration siteTls(Certificate certificate = Certificate::Site);

// While it lives, the site's own certificate is trusted the way this user's system trusts sites: on Windows
// through the current user's root store, which Windows' own TLS consults (Windows itself would ask the user
// first; Wine does not); elsewhere through Qt's default configuration, which holds the system's authorities.
// Wine reads the store once, at a process's first https connection, so a site is trusted before then or never.
class TrustedSite {
public:
    TrustedSite();
    ~TrustedSite();
    TrustedSite(const TrustedSite&) = delete;
    TrustedSite& operator=(const TrustedSite&) = delete;

private:
#ifdef Q_OS_WIN
    void* store_ = nullptr;
    const void* added_ = nullptr;
#else
    QSslConfiguration before_;
#endif
};

} // namespace leagueserver
