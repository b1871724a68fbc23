#include "support/LeagueSite.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

LeagueSite::LeagueSite() : server_(std::make_unique<leagueserver::LeagueServer>(folder_.path())) {
    const std::optional<quint16> port = server_->start();
    if (!folder_.isValid() || !port)
        qFatal("cannot start the league site");
    port_ = *port;
}

LeagueSite::~LeagueSite() = default;

QString LeagueSite::baseUrl() const {
    return QStringLiteral("http://127.0.0.1:%1/").arg(port_);
}

void LeagueSite::publish(const QString& name, const QByteArray& bytes) {
    // Written whole and renamed, as the server may be reading the previous copy at this moment.
    QSaveFile out(folder_.filePath(name));
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        qFatal("cannot publish %s", qPrintable(name));
}

void LeagueSite::withdraw(const QString& name) {
    QFile::remove(folder_.filePath(name));
}

void LeagueSite::setMode(leagueserver::Mode mode) {
    server_->setMode(mode);
}
