#include "app/MainWindow.h"
#include "league/NetworkFetch.h"
#include "session/SystemClock.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    NetworkFetch fetch;
    SystemClock clock;
    MainWindow window(QCoreApplication::applicationDirPath(), fetch, clock);
    window.load();
    window.show();
    return QApplication::exec();
}
