// The program's start-up as main() runs it, on the car folder named on the command line, ending at the
// window's first paint. The "Website Location" box is answered as soon as it shows. With an archive named as well,
// the window installs it once it is up, as it installs the one it is started with, and ends once that is done.

#include "app/MainWindow.h"
#include "league/NetworkFetch.h"
#include "session/SystemClock.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QListView>
#include <QMessageBox>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <functional>
#include <utility>

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

// Answers each box of the install as Escape would, No to the offer to swap the pack in, and quits once the box that
// ends the install is answered and none follows it. The progress box is left to close itself.
void answerInstall(bool answered = false) {
    QTimer::singleShot(std::chrono::milliseconds(10), [answered] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!modal && answered) {
            QCoreApplication::quit();
            return;
        }
        QAbstractButton* button = nullptr;
        if (box && box->windowTitle() == QLatin1String("Install Skinpack"))
            button = box->button(QMessageBox::No) ? box->button(QMessageBox::No) : box->button(QMessageBox::Ok);
        if (button)
            button->click();
        answerInstall(answered || button);
    });
}

// Linux counts a child's peak from the memory of the process that started it, so the probe tells its own.
void reportPeakMemory() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            std::fprintf(stderr, "%s\n", line.constData());
}

// The member sees the window when it is first painted; then `next` runs, once.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(std::function<void()> next) : next_(std::move(next)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && next_)
            QTimer::singleShot(0, qApp, std::exchange(next_, {}));
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> next_;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s CAR_FOLDER PACKS_EXPECTED [ARCHIVE]\n", argv[0]);
        return 2;
    }
    league::NetworkFetch fetch;
    session::SystemClock clock;
    // The program's folder is always absolute, as the program takes it from its own path.
    app::MainWindow window(QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath(), fetch, clock);
    answerWebsiteLocation();
    window.load();

    const QString archive = argc == 4 ? QString::fromLocal8Bit(argv[3]) : QString();
    FirstPaint firstPaint([&window, archive] {
        if (archive.isEmpty()) {
            QCoreApplication::quit();
            return;
        }
        window.installLater({archive});
        answerInstall();
    });
    window.installEventFilter(&firstPaint);
    window.show();
    QTimer::singleShot(std::chrono::seconds(60), [] { QCoreApplication::exit(kGaveUp); });
    const int status = QApplication::exec();
    reportPeakMemory();
    if (status)
        return status;

    const auto* list = window.findChild<QListView*>(QStringLiteral("lstPacks"));
    return list && list->model()->rowCount() == QString::fromLocal8Bit(argv[2]).toInt() ? 0 : kWrongList;
}
