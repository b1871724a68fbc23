#pragma once

#include <QSslConfiguration>

namespace leagueserver {

// The configuration of an https site for 127.0.0.1: the self-signed certificate and key made when the
// server was built, so that nothing secret is kept with the sources.
QSslConfiguration siteTls();

// While it lives, the site's certificate is trusted the way this user's system trusts sites: on Windows
// through the current user's root store, which Windows' own TLS consults; elsewhere through Qt's default
// configuration, which holds the system's authorities.
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
