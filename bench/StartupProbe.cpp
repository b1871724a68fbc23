// The program's start-up as main() runs it, on the car folder named on the command line, ending at the
// window's first paint. The "Website Location" box is answered as soon as it shows.

#include "app/MainWindow.h"
#include "league/NetworkFetch.h"
#include "session/SystemClock.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileInfo>
#include <QListView>
#include <QMessageBox>
#include <QTimer>

#include <chrono>
#include <cstdio>

namespace {

constexpr int kGaveUp = 3;
constexpr int kWrongList = 4;

void answerWebsiteLocation() {
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QAbstractButton* ok =
            box && box->windowTitle() == QLatin1String("Website Location") ? box->button(QMessageBox::Ok) : nullptr;
        if (ok)
            ok->click();
        else
            answerWebsiteLocation();
    });
}

// The member sees the window when it is first painted.
class FirstPaint : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s CAR_FOLDER PACKS_EXPECTED\n", argv[0]);
        return 2;
    }
    league::NetworkFetch fetch;
    session::SystemClock clock;
    // The program's folder is always absolute, as the program takes it from its own path.
    app::MainWindow window(QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath(), fetch, clock);
    answerWebsiteLocation();
    window.load();

    FirstPaint firstPaint;
    window.installEventFilter(&firstPaint);
    window.show();
    QTimer::singleShot(std::chrono::seconds(60), [] { QCoreApplication::exit(kGaveUp); });
    if (const int status = QApplication::exec())
        return status;

    const auto* list = window.findChild<QListView*>(QStringLiteral("lstPacks"));
    return list && list->model()->rowCount() == QString::fromLocal8Bit(argv[2]).toInt() ? 0 : kWrongList;
}
