#pragma once

#include "LeagueServer.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// A real league web site on 127.0.0.1 for tests, serving the files published to it from a
// temporary folder of its own, on a free port. It stops when destroyed.
class LeagueSite {
public:
    LeagueSite();
    ~LeagueSite();
    LeagueSite(const LeagueSite&) = delete;
    LeagueSite& operator=(const LeagueSite&) = delete;

    QString baseUrl() const; // "http://127.0.0.1:PORT/"
    void publish(const QString& name, const QByteArray& bytes);
    void withdraw(const QString& name);
    void setMode(leagueserver::Mode mode);

private:
    QTemporaryDir folder_;
    std::unique_ptr<leagueserver::LeagueServer> server_;
    int port_ = 0;
};
