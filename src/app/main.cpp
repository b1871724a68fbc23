#include "app/FrmMain.h"
#include "app/SystemClock.h"
#include "league/NetworkFetch.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    NetworkFetch inet1;
    SystemClock clock;
    FrmMain frmMain(QCoreApplication::applicationDirPath(), inet1, clock);
    frmMain.Form_Load();
    frmMain.show();
    return QApplication::exec();
}
