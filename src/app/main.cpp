#include "app/AppIcon.h"
#include "app/MainWindow.h"
#include "league/NetworkFetch.h"
#include "session/LogFile.h"
#include "session/SystemClock.h"

#include <QApplication>
#include <QNetworkProxyFactory>
#include <QStandardPaths>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(TARVOK_VERSION));
    QApplication::setWindowIcon(app::programIcon());
    session::startLogFile(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
    // The league web site is reached through the member's proxy, where there is one.
    QNetworkProxyFactory::setUseSystemConfiguration(true);
    league::NetworkFetch fetch;
    session::SystemClock clock;
    app::MainWindow window(QCoreApplication::applicationDirPath(), fetch, clock);
    window.load();
    window.show();
    window.installLater(QApplication::arguments().mid(1));
    return QApplication::exec();
}
