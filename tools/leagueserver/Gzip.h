#pragma once

#include <QByteArray>

namespace leagueserver {

// The bytes as a gzip stream, as web servers send compressed bodies.
QByteArray gzip(const QByteArray& bytes);

} // namespace leagueserver
