#include "Command.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QNetworkProxyFactory>

#include <cstdio>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // The report tells what the readers found; their lines in the log would tell it again.
    QLoggingCategory::setFilterRules(QStringLiteral("tarvok.*=false"));
    // The league web site is reached through the proxy the members' managers use, where there is one.
    QNetworkProxyFactory::setUseSystemConfiguration(true);
#ifdef Q_OS_WIN
    // Names beyond plain ASCII reach the console as the report writes them, in UTF-8.
    SetConsoleOutputCP(CP_UTF8);
#endif
    QTextStream out(stdout);
    QTextStream err(stderr);
    return leaguecheck::runCheck(QCoreApplication::arguments(), out, err);
}
