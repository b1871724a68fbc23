#include "SiteCertificate.h"

#include <QFile>
#include <QSslKey>

#ifdef Q_OS_WIN
#include <windows.h>

#include <wincrypt.h>
#endif

namespace leagueserver {

namespace {

QByteArray builtFile(Certificate certificate, const char* extension) {
    QFile file(QStringLiteral(":/leagueserver/%1.%2")
                   .arg(certificate == Certificate::Site ? "site" : "stranger", QLatin1String(extension)));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("the certificate %s was not built in", qPrintable(file.fileName()));
    return file.readAll();
}

} // namespace

QSslConfiguration siteTls(Certificate certificate) {
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificate(QSslCertificate(builtFile(certificate, "crt")));
    tls.setPrivateKey(QSslKey(builtFile(certificate, "key"), QSsl::Rsa));
    return tls;
}

#ifdef Q_OS_WIN

// The registry's store itself: under Wine, what is added to the system store of that name goes to the machine's
// roots in memory, for this process only.
TrustedSite::TrustedSite()
    : store_(CertOpenStore(CERT_STORE_PROV_SYSTEM_REGISTRY_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"Root")) {
    const QByteArray der = siteTls().localCertificate().toDer();
    PCCERT_CONTEXT added = nullptr;
    if (!store_ ||
        !CertAddEncodedCertificateToStore(store_, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.constData()),
                                          static_cast<DWORD>(der.size()), CERT_STORE_ADD_REPLACE_EXISTING, &added))
        qFatal("the site's certificate cannot join the root store: error %lu", GetLastError());
    added_ = added;
    // Written to the registry now, for the store Windows' TLS opens of its own.
    CertControlStore(store_, 0, CERT_STORE_CTRL_COMMIT, nullptr);
}

TrustedSite::~TrustedSite() {
    CertDeleteCertificateFromStore(static_cast<PCCERT_CONTEXT>(added_));
    CertCloseStore(store_, 0);
}

#else

TrustedSite::TrustedSite() : before_(QSslConfiguration::defaultConfiguration()) {
    QSslConfiguration trusting = before_;
    trusting.addCaCertificate(siteTls().localCertificate());
    QSslConfiguration::setDefaultConfiguration(trusting);
}

TrustedSite::~TrustedSite() {
    QSslConfiguration::setDefaultConfiguration(before_);
}

#endif

} // namespace leagueserver
