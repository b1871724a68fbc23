#include "app/FrmMain.h"
#include "league/NetworkFetch.h"
#include "support/CarFolder.h"
#include "support/LeagueSite.h"
#include "WindowTesting.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace std::chrono_literals;

namespace {

constexpr int kPollMs = 5;

// Answers every message box while it lives, Yes where it asks, recording "title | prompt"; a cancellable
// progress box is cancelled as soon as it shows.
class BoxAnswerer {
public:
    BoxAnswerer() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* box = QApplication::activeModalWidget();
            if (auto* message = qobject_cast<QMessageBox*>(box)) {
                shown.append(message->windowTitle() + QStringLiteral(" | ") + message->text());
                QAbstractButton* yes = message->button(QMessageBox::Yes);
                QTest::mouseClick(yes ? yes : message->button(QMessageBox::Ok), Qt::LeftButton);
            } else if (auto* progress = qobject_cast<QProgressDialog*>(box); progress && progress->isVisible()) {
                if (auto* cancel = progress->findChild<QPushButton*>()) {
                    ++cancelled;
                    QTest::mouseClick(cancel, Qt::LeftButton);
                }
            }
        });
        timer_.start(kPollMs);
    }

    QStringList shown;
    int cancelled = 0;

private:
    QTimer timer_;
};

// The real window, its boxes shown at once, on a car folder whose ZERN.cfg names a real league site.
struct BusyWindow {
    explicit BusyWindow(HttpFetch& network) : window(cars.path(), network, clock, 0ms) {
        cars.write(QStringLiteral("drivers.txt"), CarFolder::driversTxt("Classic", "1998"));
        cars.write(QStringLiteral("a.tex"), "old a");
        cars.write(QStringLiteral("ZERN.cfg"), site.baseUrl().toUtf8() + "\r\n");
        QStringList textures;
        for (int i = 0; i < 12; ++i)
            textures.append(QStringLiteral("car%1.tex").arg(i));
        cars.addPack(QStringLiteral("GT"), QStringLiteral("GT Cars"), QStringLiteral("12/04/2003"), textures);
        {
            const BoxAnswerer website;
            window.Form_Load();
        }
        window.show();
    }

    QAbstractButton* button(const char* name) const { return control<QAbstractButton>(window, QLatin1String(name)); }

    CarFolder cars;
    LeagueSite site;
    FixedClock clock{QDate(2026, 12, 6)};
    FrmMain window;
};

} // namespace

class BusyWindowTest : public QObject {
    Q_OBJECT

private slots:
    void oneCommandAtATime() {
        NoNetwork network;
        BusyWindow busy(network);
        control<QListWidget>(busy.window, QStringLiteral("lstPacks"))->setCurrentRow(0);
        bool closable = true;
        bool stayed = false;
        QStringList shownDuringSwap;
        QTimer::singleShot(0, [&] {
            auto* progress = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
            QVERIFY(progress);
            closable = progress->windowFlags().testFlag(Qt::WindowCloseButtonHint);
            QTest::keyClick(progress, Qt::Key_Escape);
            progress->close();
            stayed = progress->isVisible();
            const BoxAnswerer answerer; // a backup that started now would ask, and be answered Yes
            QTest::mouseClick(busy.button("cmdBackup"), Qt::LeftButton);
            QTest::mouseClick(busy.window.windowHandle(), Qt::LeftButton, {},
                              busy.button("cmdBackup")->geometry().center());
            shownDuringSwap = answerer.shown;
        });
        QTest::mouseClick(busy.button("cmdDoIt"), Qt::LeftButton);

        QVERIFY(!closable);
        QVERIFY(stayed);
        QCOMPARE(shownDuringSwap, QStringList());
        QVERIFY(!busy.cars.exists(QStringLiteral("original")));
        QCOMPARE(busy.cars.read(QStringLiteral("car11.tex")), QByteArray("GT/car11.tex"));
        QCOMPARE(control<QLineEdit>(busy.window, QStringLiteral("lblCurrent"))->text(),
                 QStringLiteral("GT Cars 12/04/2003"));
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }

    void theMemberCanGiveUpASlowSite() {
        NetworkFetch network; // the full time-out: only the member's Cancel ends these fetches soon
        BusyWindow busy(network);
        busy.site.setMode(leagueserver::Mode::OneBytePerSecond);
        const BoxAnswerer answerer;
        QElapsedTimer took;
        took.start();
        QTest::mouseClick(busy.button("cmdCheckMeeting"), Qt::LeftButton);

        QVERIFY2(took.elapsed() < 10000, qPrintable(QString::number(took.elapsed())));
        QCOMPARE(answerer.cancelled, 2);
        QCOMPARE(answerer.shown, QStringList{QStringLiteral(
                                     "Meeting Info | Sorry, I could not find any relevant meeting info.\n is not "
                                     "installed\nThe  track is not installed\nThere seem to be problems which may stop "
                                     "you racing the next meeting.\nPlease visit the Tarvok website to fix the "
                                     "problems.")});
    }
};

QTEST_MAIN(BusyWindowTest)
#include "test_busy_window.moc"
