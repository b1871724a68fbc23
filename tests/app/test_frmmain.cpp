#include "support/CarFolder.h"
#include "support/TestMain.h"
#include "WindowTesting.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include <climits>
#include <memory>

namespace {

const QColor kYellow(0xFF, 0xFF, 0x00);
const QColor kGreen(0x00, 0xFF, 0x00);
const QColor kOrange(0xFF, 0x80, 0x00);
const QColor kNavy(0x00, 0x00, 0x80);
const QColor kRunningBackground(0x56, 0x03, 0xBD);

const QStringList kButtons{"cmdDoIt", "cmdBackup", "cmdCheckPack", "cmdCheckMeeting", "cmdExit"};
const QStringList kLabelsAndPicture{"Image1",    "lblVersion", "lblCurrentTit", "Label5", "lblSwap",
                                    "lblBackup", "lblSpare1",  "Label1",        "Label3", "Label4"};

// Two skinpacks with folder names of 5 and 8 letters, a folder that is no pack, and an active set.
void fillCarFolder(const CarFolder& cars) {
    cars.addPack(QStringLiteral("Bravo123"), QStringLiteral("Bravo Set"), QStringLiteral("05/06/2003"));
    cars.addPack(QStringLiteral("Alpha"), QStringLiteral("Alpha Cars"), QStringLiteral("01/02/2003"));
    cars.makeFolder(QStringLiteral("Screenshots"));
    cars.write(QStringLiteral("drivers.txt"),
               CarFolder::driversTxt(QStringLiteral("Active Set of the Season"), QStringLiteral("14/04/2003")));
}

QColor inkOf(const QWidget& widget) {
    return widget.palette().color(qobject_cast<const QLabel*>(&widget) ? QPalette::WindowText : QPalette::Text);
}

// The colour a control paints beneath its text; invalid for a label that lets the window show through.
QColor backgroundOf(const QWidget& widget) {
    if (qobject_cast<const QLabel*>(&widget))
        return widget.autoFillBackground() ? widget.palette().color(QPalette::Window) : QColor();
    return widget.palette().color(QPalette::Base);
}

bool isMonospaced(const QFont& font) {
    const QFontMetricsF metrics(font);
    const qreal wide = metrics.horizontalAdvance(QStringLiteral("WWWW"));
    return metrics.horizontalAdvance(QStringLiteral("iiii")) == wide &&
           metrics.horizontalAdvance(QStringLiteral("....")) == wide &&
           metrics.horizontalAdvance(QStringLiteral("    ")) == wide;
}

QSet<QRgb> coloursOf(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return colours;
}

void showAndActivate(QWidget& window) {
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

} // namespace

class FrmMainTest : public QObject {
    Q_OBJECT

    QString startFolder_;

private slots:
    void init() { startFolder_ = QDir::currentPath(); }

    void cleanup() {
        QDir::setCurrent(startFolder_);
        QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void startUpTellsTheWebsiteBeforeListingThePacks_data() {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QString>("shown");
        QTest::newRow("no ZERN.cfg") << QByteArray()
                                     << QStringLiteral("Could not load CFG file, using default \n"
                                                       "website location : http://www.tarvok.example/");
        QTest::newRow("ZERN.cfg names the site")
            << QByteArray("http://league.example/files/\r\nignored second line\r\n")
            << QStringLiteral("Website is - http://league.example/files/");
    }

    void startUpTellsTheWebsiteBeforeListingThePacks() {
        QFETCH(QByteArray, config);
        QFETCH(QString, shown);
        CarFolder cars;
        fillCarFolder(cars);
        if (!config.isNull())
            cars.write(QStringLiteral("ZERN.cfg"), config);

        LoadedWindow loaded(cars.path());
        QCOMPARE(loaded.websiteBox.title, QStringLiteral("Website Location"));
        QCOMPARE(loaded.websiteBox.prompt, shown);
        QCOMPARE(loaded.websiteBoxIcon, QMessageBox::NoIcon);
        QCOMPARE(loaded.websiteBoxButtons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(loaded.websiteBoxFormat, Qt::PlainText);
        QVERIFY(loaded.boxShownBeforeWindow);
        const QPoint offCentre = loaded.boxCentre - loaded.window.screen()->availableGeometry().center();
        QVERIFY2(offCentre.manhattanLength() <= 2, "the box stands in the middle of the screen");
        QCOMPARE(loaded.listEntriesWhileBoxShown, 0);
        QCOMPARE(control<QListWidget>(loaded.window, QStringLiteral("lstPacks"))->count(), 2);
    }

    void controlsAreLaidOutAsDesigned_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("text");
        const QString none;
        QTest::newRow("Image1") << "Image1"
                                << "QLabel" << QRect(0, 0, 425, 60) << none;
        QTest::newRow("lblVersion") << "lblVersion"
                                    << "QLabel" << QRect(240, 48, 169, 17) << "Version 2.1 14th April 2003";
        QTest::newRow("lblCurrentTit") << "lblCurrentTit"
                                       << "QLabel" << QRect(16, 64, 153, 17) << "The currently selected car set is:";
        QTest::newRow("lblCurrent") << "lblCurrent"
                                    << "QLineEdit" << QRect(8, 80, 169, 22) << none;
        QTest::newRow("Label5") << "Label5"
                                << "QLabel" << QRect(8, 112, 289, 17) << "Skinpacks found:";
        QTest::newRow("lstPacks") << "lstPacks"
                                  << "QListWidget" << QRect(8, 128, 289, 170) << none;
        QTest::newRow("cmdDoIt") << "cmdDoIt"
                                 << "QAbstractButton" << QRect(8, 304, 121, 41) << none;
        QTest::newRow("cmdBackup") << "cmdBackup"
                                   << "QAbstractButton" << QRect(144, 304, 121, 41) << none;
        QTest::newRow("lblSwap") << "lblSwap"
                                 << "QLabel" << QRect(8, 344, 121, 57)
                                 << "This button will change your tarvers to the set chosen above";
        QTest::newRow("lblBackup") << "lblBackup"
                                   << "QLabel" << QRect(144, 344, 121, 57)
                                   << "This button will backup whatever is currently in your tarvers folder to a "
                                      "folder called \"original\"";
        QTest::newRow("lblSpare1") << "lblSpare1"
                                   << "QLabel" << QRect(304, 64, 121, 137) << " ";
        QTest::newRow("cmdCheckPack") << "cmdCheckPack"
                                      << "QAbstractButton" << QRect(312, 72, 105, 41) << none;
        QTest::newRow("Label1") << "Label1"
                                << "QLabel" << QRect(312, 120, 105, 73)
                                << "Use this button to check if all your skinpacks are up to date (requires "
                                   "internet connection";
        QTest::newRow("Label3") << "Label3"
                                << "QLabel" << QRect(304, 200, 121, 137) << " ";
        QTest::newRow("cmdCheckMeeting") << "cmdCheckMeeting"
                                         << "QAbstractButton" << QRect(312, 208, 105, 41) << none;
        QTest::newRow("Label4") << "Label4"
                                << "QLabel" << QRect(312, 248, 105, 81)
                                << "Use this button to checkthat you have everything you need for the next "
                                   "meeting (internet connection required)";
        QTest::newRow("cmdExit") << "cmdExit"
                                 << "QAbstractButton" << QRect(312, 352, 105, 41) << none;
    }

    void controlsAreLaidOutAsDesigned() {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        CarFolder cars;
        LoadedWindow loaded(cars.path());
        loaded.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&loaded.window));

        QWidget* widget = control(loaded.window, name);
        QVERIFY(widget);
        QVERIFY(widget->inherits(kind.toLatin1()));
        QCOMPARE(widget->geometry(), geometry);
        QVERIFY(widget->isVisible());
        QVERIFY(widget->isEnabled());
        if (auto* label = qobject_cast<QLabel*>(widget); label && !text.isNull()) {
            QCOMPARE(label->text(), text);
            QCOMPARE(label->textFormat(), Qt::PlainText);
        }
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            QVERIFY(button->text().isEmpty());
    }

    void windowHoldsNoOtherControls() {
        CarFolder cars;
        LoadedWindow loaded(cars.path());
        QCOMPARE(loaded.window.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).size(), 17);
    }

    void controlsShowTheirColours_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QColor>("ink");
        QTest::addColumn<QColor>("background"); // invalid: transparent
        const QColor transparent;
        QTest::newRow("lblVersion") << "lblVersion" << kYellow << transparent;
        QTest::newRow("lblCurrentTit") << "lblCurrentTit" << kYellow << transparent;
        QTest::newRow("lblCurrent") << "lblCurrent" << kGreen << QColor(Qt::black);
        QTest::newRow("Label5") << "Label5" << kOrange << QColor(Qt::black);
        QTest::newRow("lstPacks") << "lstPacks" << kYellow << QColor(Qt::black);
        QTest::newRow("lblSwap") << "lblSwap" << QColor(Qt::white) << transparent;
        QTest::newRow("lblBackup") << "lblBackup" << QColor(Qt::white) << transparent;
        QTest::newRow("Label1") << "Label1" << QColor(Qt::white) << transparent;
        QTest::newRow("Label4") << "Label4" << QColor(Qt::white) << transparent;
        QTest::newRow("lblSpare1") << "lblSpare1" << QColor(Qt::black) << kNavy;
        QTest::newRow("Label3") << "Label3" << QColor(Qt::black) << kNavy;
    }

    void controlsShowTheirColours() {
        QFETCH(QString, name);
        QFETCH(QColor, ink);
        QFETCH(QColor, background);
        CarFolder cars;
        LoadedWindow loaded(cars.path());
        const QWidget* widget = control(loaded.window, name);
        QCOMPARE(inkOf(*widget), ink);
        QCOMPARE(backgroundOf(*widget), background);
    }

    void panelsHaveAThinFlatBorderAndLieBeneathWhatTheyCarry() {
        CarFolder cars;
        LoadedWindow loaded(cars.path());
        for (const QString& name : {QStringLiteral("lblSpare1"), QStringLiteral("Label3")}) {
            const auto* panel = control<QLabel>(loaded.window, name);
            QCOMPARE(panel->frameShape(), QFrame::Box);
            QCOMPARE(panel->frameShadow(), QFrame::Plain);
            QCOMPARE(panel->lineWidth(), 1);
        }

        const QObjectList stack = loaded.window.children();
        const auto level = [&](const char* name) { return stack.indexOf(control(loaded.window, QLatin1String(name))); };
        QVERIFY(level("lblSpare1") < level("cmdCheckPack"));
        QVERIFY(level("lblSpare1") < level("Label1"));
        QVERIFY(level("Label3") < level("cmdCheckMeeting"));
        QVERIFY(level("Label3") < level("Label4"));
        QVERIFY(level("Image1") < level("lblVersion"));
        for (const QString& beneath : kLabelsAndPicture)
            for (const QString& above : kButtons + QStringList{"lblCurrent", "lstPacks"})
                QVERIFY2(level(beneath.toLatin1()) < level(above.toLatin1()), qPrintable(beneath + " over " + above));

        // Pixels where no text falls: the navy panel shows through its label, the window's purple elsewhere.
        loaded.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&loaded.window));
        const QImage shot = loaded.window.grab().toImage();
        QCOMPARE(shot.pixelColor(414, 190), kNavy);
        QCOMPARE(shot.pixelColor(308, 195), kNavy);
        QCOMPARE(shot.pixelColor(300, 300), kRunningBackground);
    }

    void fontsKeepTheListAlignedAndEveryCaptionWhole() {
        CarFolder cars;
        LoadedWindow loaded(cars.path());
        const auto* list = control(loaded.window, QStringLiteral("lstPacks"));
        const auto* heading = control(loaded.window, QStringLiteral("Label5"));
        const auto* current = control(loaded.window, QStringLiteral("lblCurrent"));
        for (const QWidget* fixed : {list, heading})
            QCOMPARE(fixed->font().pointSizeF(), 8.25);
        QCOMPARE(current->font().pointSizeF(), 9.0);
        QVERIFY(isMonospaced(list->font()));
        QVERIFY(isMonospaced(heading->font()));
        QVERIFY(isMonospaced(current->font()));
        if (QFontDatabase::hasFamily(QStringLiteral("Courier New")))
            QCOMPARE(list->font().family(), QStringLiteral("Courier New"));

        for (const QString name : {"lblVersion", "lblCurrentTit", "lblSwap", "lblBackup", "Label1", "Label4"}) {
            const auto* label = control<QLabel>(loaded.window, name);
            const QRect box = label->contentsRect();
            const QRect needed = label->fontMetrics().boundingRect(
                QRect(box.topLeft(), QSize(box.width(), INT_MAX)),
                static_cast<int>(label->alignment()) | Qt::TextWordWrap, label->text());
            QVERIFY2(box.contains(needed), qPrintable(name));
            QVERIFY2(label->font().pixelSize() >= 8, qPrintable(name));
        }
    }

    void listAndCurrentSetShowTheCarFolder_data() {
        QTest::addColumn<bool>("activeSet");
        QTest::addColumn<QString>("current");
        QTest::newRow("active drivers.txt") << true << QStringLiteral("Active Set of the Season 14/04/2003");
        QTest::newRow("no active drivers.txt") << false << QStringLiteral("Error");
    }

    void listAndCurrentSetShowTheCarFolder() {
        QFETCH(bool, activeSet);
        QFETCH(QString, current);
        CarFolder cars;
        fillCarFolder(cars);
        if (!activeSet)
            QVERIFY(QFile::remove(cars.file(QStringLiteral("drivers.txt"))));

        LoadedWindow loaded(cars.path());
        const auto* list = control<QListWidget>(loaded.window, QStringLiteral("lstPacks"));
        QStringList entries;
        for (int row = 0; row < list->count(); ++row)
            entries.append(list->item(row)->text());
        QCOMPARE(entries, (QStringList{"Alpha ....Alpha Cars - 01/02/2003", "Bravo123 .Bravo Set - 05/06/2003"}));
        QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
        QVERIFY(!list->isSortingEnabled());

        const auto* box = control<QLineEdit>(loaded.window, QStringLiteral("lblCurrent"));
        QCOMPARE(box->text(), current);
        QCOMPARE(box->cursorPosition(), 0); // a name wider than the box shows its beginning
        QVERIFY(!box->isReadOnly());
    }

    void windowIsCentredFixedAndRecoloured() {
        CarFolder cars;
        LoadedWindow loaded(cars.path());
        FrmMain& window = loaded.window;
        QCOMPARE(window.objectName(), QStringLiteral("frmMain"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Tarvok Car Manager"));
        QVERIFY(!window.windowIcon().isNull());
        QCOMPARE(window.windowIcon().actualSize(QSize(64, 64)), QSize(64, 64));
        QCOMPARE(window.size(), QSize(425, 401));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window.autoFillBackground());
        QCOMPARE(window.palette().color(QPalette::Window), kRunningBackground);

        const QRect screen = window.screen()->geometry();
        const QSize outer = window.size().grownBy(window.windowHandle()->frameMargins());
        const QPoint centred =
            screen.topLeft() + QPoint((screen.width() - outer.width()) / 2, (screen.height() - outer.height()) / 2);
        QCOMPARE(window.pos(), centred);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.frameGeometry().topLeft(), centred);
    }

    void focusStartsOnSwapAndTabsInTheDesignedOrder() {
        CarFolder cars;
        fillCarFolder(cars);
        LoadedWindow loaded(cars.path());
        showAndActivate(loaded.window);
        QCOMPARE(QApplication::focusWidget(), control(loaded.window, QStringLiteral("cmdDoIt")));

        QStringList visited;
        for (int step = 0; step < 7; ++step) {
            QTest::keyClick(loaded.window.windowHandle(), Qt::Key_Tab);
            visited.append(QApplication::focusWidget()->objectName());
        }
        QCOMPARE(visited, (QStringList{"cmdBackup", "lblCurrent", "cmdExit", "cmdCheckPack", "cmdCheckMeeting",
                                       "lstPacks", "cmdDoIt"}));
    }

    void enterAndEscapePressNoButton() {
        CarFolder cars;
        fillCarFolder(cars);
        LoadedWindow loaded(cars.path());
        showAndActivate(loaded.window);
        std::vector<std::unique_ptr<QSignalSpy>> spies;
        for (const QString& name : kButtons)
            spies.push_back(
                std::make_unique<QSignalSpy>(control<QAbstractButton>(loaded.window, name), &QAbstractButton::clicked));

        for (const QString& focused : {QStringLiteral("lstPacks"), QStringLiteral("lblCurrent")}) {
            control(loaded.window, focused)->setFocus();
            for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
                QTest::keyClick(loaded.window.windowHandle(), key);
        }
        QCoreApplication::processEvents();
        for (const auto& spy : spies)
            QCOMPARE(spy->count(), 0);
        QVERIFY(loaded.window.isVisible());
    }

    void buttonsShowPicturesAndSayWhatTheyDo() {
        CarFolder cars;
        LoadedWindow loaded(cars.path());
        loaded.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&loaded.window));

        QStringList names;
        QStringList tips;
        QList<QImage> faces;
        for (const QString& name : kButtons) {
            auto* button = control<QAbstractButton>(loaded.window, name);
            names.append(button->accessibleName());
            tips.append(button->toolTip());
            const QImage face = button->grab().toImage();
            QVERIFY2(coloursOf(face).size() > 20, qPrintable(name));
            QVERIFY2(!faces.contains(face), qPrintable(name));
            faces.append(face);
        }
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), 5);
        QCOMPARE(QSet<QString>(tips.begin(), tips.end()).size(), 5);
        QVERIFY(!names.contains(QString()));
        QVERIFY(!tips.contains(QString()));
        QCOMPARE(control(loaded.window, QStringLiteral("cmdDoIt"))->palette().color(QPalette::Button), kOrange);

        const QPixmap banner = control<QLabel>(loaded.window, QStringLiteral("Image1"))->pixmap();
        QCOMPARE(banner.deviceIndependentSize(), QSizeF(425, 60));
    }

    void exitButtonClosesTheWindow_data() {
        QTest::addColumn<bool>("byKeyboard");
        QTest::newRow("mouse") << false;
        QTest::newRow("space key") << true;
    }

    void exitButtonClosesTheWindow() {
        QFETCH(bool, byKeyboard);
        CarFolder cars;
        LoadedWindow loaded(cars.path());
        showAndActivate(loaded.window);
        auto* exit = control<QAbstractButton>(loaded.window, QStringLiteral("cmdExit"));
        if (byKeyboard) {
            exit->setFocus();
            QTest::keyClick(loaded.window.windowHandle(), Qt::Key_Space);
        } else {
            QTest::mouseClick(loaded.window.windowHandle(), Qt::LeftButton, {},
                              exit->mapTo(&loaded.window, exit->rect().center()));
        }
        QTRY_VERIFY(!loaded.window.isVisible());
    }
};

TARVOK_TEST(FrmMainTest)
#include "test_frmmain.moc"
