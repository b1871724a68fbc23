#include "LeagueServer.h"
#include "SiteCertificate.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <iostream>
#include <limits>
#include <thread>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A league web site on 127.0.0.1 for tests and the demo."));
    const QCommandLineOption root(QStringLiteral("root"), QStringLiteral("The folder whose files are served."),
                                  QStringLiteral("folder"));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("The port, 0 for any free one."),
                                  QStringLiteral("port"), QStringLiteral("0"));
    const QCommandLineOption mode(QStringLiteral("mode"), QStringLiteral("normal, or how the server misbehaves."),
                                  QStringLiteral("name"), QStringLiteral("normal"));
    const QCommandLineOption https(QStringLiteral("https"),
                                   QStringLiteral("Serves over https, with the certificate made when it was built."));
    parser.addOptions({root, port, mode, https});
    parser.addHelpOption();
    parser.process(app);
    const std::optional<leagueserver::Mode> chosen = leagueserver::modeFromName(parser.value(mode));
    bool portOk = false;
    const uint wanted = parser.value(port).toUInt(&portOk);
    if (!parser.isSet(root) || !chosen || !portOk || wanted > 65535) {
        std::fprintf(stderr, "%s", qPrintable(parser.helpText()));
        return 2;
    }

    leagueserver::LeagueServer server(static_cast<quint16>(wanted),
                                      parser.isSet(https) ? leagueserver::siteTls() : QSslConfiguration());
    server.setMode(*chosen);
    for (const QFileInfo& file : QDir(parser.value(root)).entryInfoList(QDir::Files)) {
        QFile in(file.filePath());
        if (in.open(QIODevice::ReadOnly))
            server.publish(file.fileName(), in.readAll());
    }
    std::printf("%u\n", static_cast<unsigned>(server.port()));
    std::fflush(stdout);
    // Serves until whoever started it goes away and its input reaches its end.
    std::thread([] {
        std::cin.ignore(std::numeric_limits<std::streamsize>::max());
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    }).detach();
    return QCoreApplication::exec();
}
