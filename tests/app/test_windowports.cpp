#include "app/InputBlocker.h"
#include "app/WindowPorts.h"
#include "support/CarFolder.h"
#include "support/TestMain.h"
#include "WindowTesting.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include <functional>

namespace {

// A fetch that runs the test's script in the middle of its work, as a real one spins its event loop.
class ScriptedFetch : public HttpFetch {
public:
    void cancel() override {}
    std::optional<QByteArray> fetch(const QString& url) override {
        urls.append(url);
        if (whileFetching)
            whileFetching();
        return QByteArray("body of ") + url.toUtf8();
    }

    std::function<void()> whileFetching;
    QStringList urls;
};

// Counts the paints a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

void fillCarFolder(const CarFolder& cars) {
    for (const QString& pack : {QStringLiteral("Alpha"), QStringLiteral("Bravo"), QStringLiteral("Charlie")})
        cars.addPack(pack, pack + QStringLiteral(" Cars"), QStringLiteral("01/02/2003"));
}

QPoint centreOf(const QWidget& window, const QString& name) {
    const QWidget* widget = control(window, name);
    return widget->mapTo(&window, widget->rect().center());
}

QString manyLines(int count) {
    QString prompt;
    for (int line = 1; line <= count; ++line)
        prompt += QStringLiteral("Pack %1 is up to date\r\n").arg(line);
    return prompt;
}

struct SeenMessageBox {
    ShownBox shown;
    QMessageBox::Icon icon = QMessageBox::Warning;
    QMessageBox::StandardButtons buttons;
    Qt::TextFormat format = Qt::AutoText;
    QWidget* parent = nullptr;
    bool modal = false;
};

} // namespace

class WindowPortsTest : public QObject {
    Q_OBJECT

    QString startFolder_;

private slots:
    void init() { startFolder_ = QDir::currentPath(); }

    void cleanup() {
        QDir::setCurrent(startFolder_);
        QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void messageBoxShowsThePromptAsPlainText() {
        QWidget window;
        window.show();
        WindowMessageBox boxes(window);
        SeenMessageBox seen;
        whenModalShows([&seen](QWidget& box) {
            auto* messageBox = qobject_cast<QMessageBox*>(&box);
            QVERIFY(messageBox);
            seen = {{box.windowTitle(), messageBox->text(), false},
                    messageBox->icon(),
                    messageBox->standardButtons(),
                    messageBox->textFormat(),
                    box.parentWidget(),
                    box.isModal()};
            QTest::mouseClick(messageBox->button(QMessageBox::Ok), Qt::LeftButton);
        });
        boxes.msgBox(QStringLiteral("Pack <b>Fast</b> & Co\r\nis up to date"), QStringLiteral("Pack Status"));

        QCOMPARE(seen.shown.title, QStringLiteral("Pack Status"));
        QCOMPARE(seen.shown.prompt, QStringLiteral("Pack <b>Fast</b> & Co\nis up to date"));
        QCOMPARE(seen.format, Qt::PlainText);
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(seen.parent, &window);
        QVERIFY(seen.modal);
    }

    void yesNoBoxAnswers_data() {
        QTest::addColumn<int>("key");                           // 0: click the button instead
        QTest::addColumn<QMessageBox::StandardButton>("press"); // the button clicked
        QTest::addColumn<bool>("answer");
        QTest::newRow("Yes") << 0 << QMessageBox::Yes << true;
        QTest::newRow("No") << 0 << QMessageBox::No << false;
        QTest::newRow("Enter takes the default, Yes") << int(Qt::Key_Return) << QMessageBox::NoButton << true;
        QTest::newRow("Escape means No") << int(Qt::Key_Escape) << QMessageBox::NoButton << false;
    }

    void yesNoBoxAnswers() {
        QFETCH(int, key);
        QFETCH(QMessageBox::StandardButton, press);
        QFETCH(bool, answer);
        QWidget window;
        WindowMessageBox boxes(window);
        SeenMessageBox seen;
        bool yesIsDefault = false;
        whenModalShows([&](QWidget& box) {
            auto* messageBox = qobject_cast<QMessageBox*>(&box);
            QVERIFY(messageBox);
            seen.buttons = messageBox->standardButtons();
            seen.icon = messageBox->icon();
            yesIsDefault = messageBox->defaultButton() == messageBox->button(QMessageBox::Yes);
            if (key != 0)
                QTest::keyClick(messageBox, Qt::Key(key));
            else
                QTest::mouseClick(messageBox->button(press), Qt::LeftButton);
        });
        QCOMPARE(boxes.askYesNo(QStringLiteral("Back up now?"), QStringLiteral("Backup")), answer);
        QCOMPARE(seen.buttons, QMessageBox::Yes | QMessageBox::No);
        QVERIFY(yesIsDefault);
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
    }

    void aPromptTooLongForTheScreenScrolls_data() {
        QTest::addColumn<bool>("yesNo");
        QTest::newRow("OK box") << false;
        QTest::newRow("Yes/No box") << true;
    }

    void aPromptTooLongForTheScreenScrolls() {
        QFETCH(bool, yesNo);
        QWidget window;
        window.show();
        WindowMessageBox boxes(window);
        const QString prompt = manyLines(400);
        bool scrolled = false;
        whenModalShows([&](QWidget& box) {
            QVERIFY(!qobject_cast<QMessageBox*>(&box));
            QCOMPARE(box.windowTitle(), QStringLiteral("Pack Status"));
            QCOMPARE(box.parentWidget(), &window);
            const auto* text = box.findChild<QPlainTextEdit*>();
            QVERIFY(text);
            QVERIFY(text->isReadOnly());
            QCOMPARE(text->toPlainText(), QString(prompt).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
            QVERIFY(text->verticalScrollBar()->maximum() > 0);
            QVERIFY(box.screen()->availableGeometry().contains(box.frameGeometry()));
            const auto* buttons = box.findChild<QDialogButtonBox*>();
            QCOMPARE(buttons->standardButtons(), yesNo ? QDialogButtonBox::Yes | QDialogButtonBox::No
                                                       : QDialogButtonBox::StandardButtons(QDialogButtonBox::Ok));
            QPushButton* main = buttons->button(yesNo ? QDialogButtonBox::Yes : QDialogButtonBox::Ok);
            QVERIFY(main->isDefault());
            scrolled = true;
            QTest::mouseClick(main, Qt::LeftButton);
        });
        const bool answer = yesNo ? boxes.askYesNo(prompt, QStringLiteral("Pack Status"))
                                  : (boxes.msgBox(prompt, QStringLiteral("Pack Status")), true);
        QVERIFY(scrolled);
        QVERIFY(answer);
    }

    void listIndexFollowsTheSelectionOnly() {
        CarFolder cars;
        fillCarFolder(cars);
        LoadedWindow loaded(cars.path());
        auto* list = control<QListWidget>(loaded.window, QStringLiteral("lstPacks"));
        WindowPackList packs(*list);
        loaded.window.show();
        loaded.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&loaded.window));

        list->setFocus(); // gives the list a current entry, but selects none
        QCOMPARE(packs.listIndex(), -1);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
        QCOMPARE(packs.listIndex(), 1);

        packs.addItem(QStringLiteral("Delta .Delta Cars - 01/02/2003"));
        QCOMPARE(list->count(), 4);
        QCOMPARE(list->item(3)->text(), QStringLiteral("Delta .Delta Cars - 01/02/2003"));
    }

    void currentSetTextIsPaintedAtOnce() {
        CarFolder cars;
        LoadedWindow loaded(cars.path());
        auto* box = control<QLineEdit>(loaded.window, QStringLiteral("lblCurrent"));
        WindowCurrentSetBox current(*box);
        loaded.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&loaded.window));
        QCoreApplication::processEvents();

        PaintCounter counter(*box);
        const QString text = QStringLiteral("A car set name far wider than the box 01/02/2003");
        current.setText(text);
        QVERIFY(counter.paints > 0); // before any event is processed
        QCOMPARE(box->text(), text);
        QCOMPARE(box->cursorPosition(), 0);
    }

    void fetchReturnsTheWrappedBody() {
        QWidget window;
        ScriptedFetch network;
        WindowFetch fetch(network, window);
        QCOMPARE(fetch.fetch(QStringLiteral("http://league.example/tarvver.txt")),
                 std::optional<QByteArray>("body of http://league.example/tarvver.txt"));
        QCOMPARE(network.urls, QStringList{"http://league.example/tarvver.txt"});
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void inputToABusyWindowIsDroppedWhileItRepaints() {
        CarFolder cars;
        fillCarFolder(cars);
        LoadedWindow loaded(cars.path());
        FrmMain& window = loaded.window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* list = control<QListWidget>(window, QStringLiteral("lstPacks"));
        list->setCurrentRow(0);
        list->setFocus();
        auto* exit = control<QAbstractButton>(window, QStringLiteral("cmdExit"));
        QSignalSpy exitClicks(exit, &QAbstractButton::clicked);
        auto* current = control(window, QStringLiteral("lblCurrent"));
        PaintCounter painted(*current);
        QPushButton other(QStringLiteral("Other"));
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        QSignalSpy otherClicks(&other, &QAbstractButton::clicked);

        {
            const InputBlocker busy(window);
            QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, centreOf(window, QStringLiteral("cmdExit")));
            QTest::keyClick(window.windowHandle(), Qt::Key_Down);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
            QVERIFY(!window.windowHandle()->close());
            QTest::mouseClick(other.windowHandle(), Qt::LeftButton, {}, other.rect().center());
            current->update();
            QTRY_VERIFY(painted.paints > 0);
        }
        QCOMPARE(exitClicks.count(), 0);
        QCOMPARE(otherClicks.count(), 1);
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(list->selectedItems(), QList<QListWidgetItem*>{list->item(0)});
        QVERIFY(window.isVisible());

        // The same input afterwards reaches the window again.
        QTest::keyClick(window.windowHandle(), Qt::Key_Down);
        QCOMPARE(list->currentRow(), 1);
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, centreOf(window, QStringLiteral("cmdExit")));
        QCOMPARE(exitClicks.count(), 1);
        QTRY_VERIFY(!window.isVisible());
    }
};

TARVOK_TEST(WindowPortsTest)
#include "test_windowports.moc"
