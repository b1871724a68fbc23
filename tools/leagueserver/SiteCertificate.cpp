#include "SiteCertificate.h"

#include <QFile>
#include <QSslKey>

#ifdef Q_OS_WIN
#include <windows.h>

#include <wincrypt.h>
#endif

namespace leagueserver {

namespace {

QByteArray builtFile(const QString& name) {
    QFile file(":/leagueserver/" + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("the site's %s was not built in", qPrintable(name));
    return file.readAll();
}

} // namespace

QSslConfiguration siteTls() {
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificate(QSslCertificate(builtFile(QStringLiteral("site.crt"))));
    tls.setPrivateKey(QSslKey(builtFile(QStringLiteral("site.key")), QSsl::Rsa));
    return tls;
}

#ifdef Q_OS_WIN

TrustedSite::TrustedSite() : store_(CertOpenSystemStoreW(0, L"Root")) {
    const QByteArray der = siteTls().localCertificate().toDer();
    PCCERT_CONTEXT added = nullptr;
    if (!store_ ||
        !CertAddEncodedCertificateToStore(store_, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.constData()),
                                          static_cast<DWORD>(der.size()), CERT_STORE_ADD_NEW, &added))
        qFatal("the site's certificate cannot join the root store: error %lu", GetLastError());
    added_ = added;
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
