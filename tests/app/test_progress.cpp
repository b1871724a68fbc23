#include "app/WindowPorts.h"
#include "carsets/Swap.h"
#include "support/CarFolder.h"
#include "support/RecordingPorts.h"
#include "support/TestMain.h"

#include <QApplication>
#include <QProgressDialog>
#include <QTest>

namespace {

QProgressDialog* shownProgress() {
    return qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
}

// A fetch that looks at the window while it is running.
class WatchedFetch : public HttpFetch {
public:
    void cancel() override {}
    std::optional<QByteArray> fetch(const QString&) override {
        whileFetching();
        return QByteArray("1\r\n");
    }
    std::function<void()> whileFetching;
};

} // namespace

class ProgressTest : public QObject {
    Q_OBJECT

private slots:
    void longCopiesShowFilesAndBytesDone() {
        QWidget window;
        window.show();
        WindowProgress progress(window, std::chrono::milliseconds(0));
        progress.start(QStringLiteral("Swapping in GT2003"), 4, 4 * 1024 * 1024);
        progress.advance(1024 * 1024, 1);
        QProgressDialog* dialog = shownProgress();
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Tarvok Car Manager"));
        QVERIFY(dialog->labelText().startsWith(QStringLiteral("Swapping in GT2003")));
        QVERIFY(dialog->labelText().contains(QStringLiteral("1 of 4 files")));
        QCOMPARE(dialog->value(), 250);
        progress.finish();
        QCOMPARE(shownProgress(), nullptr);
    }

    void quickWorkShowsNothing() {
        QWidget window;
        window.show();
        WindowProgress progress(window);
        progress.start(QStringLiteral("Backing up your cars"), 2, 10);
        progress.advance(10, 2);
        QVERIFY(window.findChildren<QProgressDialog*>().isEmpty());
        progress.finish();
    }

    void swapReportsEveryFileAndClosesItsBox() {
        CarFolder cars;
        cars.addPack(QStringLiteral("GT2003"), QStringLiteral("GT"), QStringLiteral("12/04/2003"),
                     {QStringLiteral("a.tex"), QStringLiteral("b.tex"), QStringLiteral("c.tex")});
        QWidget window;
        window.show();
        struct CountingProgress : WindowProgress {
            using WindowProgress::WindowProgress;
            void start(const QString& what, int files, qint64 bytes) override {
                started = {what, files, bytes};
                WindowProgress::start(what, files, bytes);
            }
            void advance(qint64 bytes, int files) override {
                bytesSeen += bytes;
                filesSeen += files;
                sawBox = sawBox || shownProgress();
                WindowProgress::advance(bytes, files);
            }
            std::tuple<QString, int, qint64> started;
            qint64 bytesSeen = 0;
            int filesSeen = 0;
            bool sawBox = false;
        } progress(window, std::chrono::milliseconds(0));
        RecordingPorts ui;
        ui.ports.progress = &progress;
        FormState st;
        st.appPath = fs::fromQt(cars.path());
        subMove(st, ui.ports, PackRow{fs::Path("GT2003"), QStringLiteral("GT2003"), {}});

        const qint64 packBytes =
            3 * QByteArray("GT2003/a.tex").size() + cars.read(QStringLiteral("GT2003/drivers.txt")).size();
        QCOMPARE(progress.started, std::make_tuple(QStringLiteral("Swapping in GT2003"), 4, packBytes));
        QCOMPARE(progress.bytesSeen, packBytes);
        QCOMPARE(progress.filesSeen, 4);
        QVERIFY(progress.sawBox);
        QCOMPARE(shownProgress(), nullptr);
        QVERIFY(ui.msgBox.shown.isEmpty());
    }

    void slowFetchSaysWhatItFetches() {
        QWidget window;
        window.show();
        WatchedFetch network;
        WindowFetch fetch(network, window, std::chrono::milliseconds(0));
        QString label;
        network.whileFetching = [&] {
            QTRY_VERIFY(shownProgress());
            label = shownProgress()->labelText();
        };
        QVERIFY(fetch.fetch(QStringLiteral("http://127.0.0.1:1/tarvver.txt")));
        QCOMPARE(label, QStringLiteral("Fetching tarvver.txt from the league web site..."));
        QCOMPARE(shownProgress(), nullptr);
    }
};

TARVOK_TEST(ProgressTest)
#include "test_progress.moc"
