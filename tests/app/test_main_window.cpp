#include "app/MainWindow.h"
#include "app/Pictures.h"
#include "league/NetworkFetch.h"
#include "LeagueServer.h"
#include "session/LogFile.h"
#include "support/CarFolder.h"
#include "support/FileCalls.h"
#include "support/Recorder.h"

#include <QtTest>
#include <QtWidgets>

#include <ranges>

namespace {

// While it lives, answers every message box with its default button and records it as "title | text", then whether
// it was plain text without an icon but an offer's, and whether No is its default and Escape's answer; opens the files
// given in the install's file dialog, typed as a member types several, or cancels it when none are given, and records
// its title, and whether it takes any name rather than several files that exist; when told to, cancels every fetch's
// progress box.
struct BoxAnswerer {
    explicit BoxAnswerer(bool cancelFetches = false, const QStringList& files = {}) {
        QObject::connect(&timer, &QTimer::timeout, [this, cancelFetches, files] {
            QWidget* box = QApplication::activeModalWidget();
            if (auto* message = qobject_cast<QMessageBox*>(box)) {
                const bool offer = message->icon() == QMessageBox::Question;
                const bool plain =
                    message->textFormat() == Qt::PlainText && (offer || message->icon() == QMessageBox::NoIcon);
                const bool noByDefault = message->defaultButton() == message->button(QMessageBox::No) &&
                                         message->escapeButton() == message->button(QMessageBox::No);
                shown << message->windowTitle() + " | " + message->text() + (plain ? "" : " (not plain)") +
                             (noByDefault ? " (No by default)" : "");
                QTest::keyClick(message, Qt::Key_Return);
            } else if (auto* dialog = qobject_cast<QFileDialog*>(box); dialog && dialog->isVisible()) {
                shown << dialog->windowTitle() + (dialog->fileMode() == QFileDialog::ExistingFiles ? "" : " (any one)");
                auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
                name->setText(files.isEmpty() ? "" : '"' + files.join("\" \"") + '"');
                QTest::keyClick(name, files.isEmpty() ? Qt::Key_Escape : Qt::Key_Return);
            } else if (auto* text = box ? box->findChild<QPlainTextEdit*>() : nullptr) {
                const QRect screen = box->screen()->availableGeometry();
                const bool fits = screen.contains(box->frameGeometry()) && box->height() > screen.height() / 2 &&
                                  text->isReadOnly() && text->height() > box->height() / 2 &&
                                  box->findChild<QDialogButtonBox*>()->y() > text->geometry().bottom();
                shown << box->windowTitle() + (fits ? " | scrolls" : " | does not fit");
                QTest::keyClick(box->focusWidget(), Qt::Key_Return);
            } else if (cancelFetches && qobject_cast<QProgressDialog*>(box) && box->findChild<QPushButton*>()) {
                cancelled += QGuiApplication::overrideCursor() != nullptr; // counted under a fetch's wait cursor
                QTest::mouseClick(box->findChild<QPushButton*>(), Qt::LeftButton);
            }
        });
        timer.start(5);
    }

    QStringList shown;
    int cancelled = 0;
    QTimer timer;
};

// The real window, showing its progress boxes at once, on a member's car folder (filled before the window, which
// reads it as it is built) whose ZERN.cfg names a real league site; the start-up's boxes are answered.
struct Member {
    explicit Member(league::HttpFetch& network) {
        cars.write("drivers.txt", CarFolder::driversTxt("Classic", "1998"));
        cars.write("ZERN.cfg", site.baseUrl().toUtf8());
        cars.addPack("GT", "GT Cars", "12/04/2003", {"car1.tex", "car2.tex"});
        cars.addPack("Touring2003", "Touring", "01/05/2003");
        cars.addPack("Historic", "Vintage Touring Cars of the Sixties and Seventies, Second Edition", "01/01/2003");
        window.emplace(cars.path(), network, clock, std::chrono::milliseconds(0));
        site.publish("tarvmeet.txt", "1\r\n2026-12-13|Winter Cup|GT|Spa\r\n");
        site.publish("tarvver.txt", "1\r\nGT|12/04/2003\r\n");
        const BoxAnswerer answerer;
        window->load();
        started = QStringList(answerer.shown) << (window->isVisible() ? "shown too early" : "");
        window->show();
    }
    template <typename T = QAbstractButton> T* control(const char* name) const { return window->findChild<T*>(name); }

    CarFolder cars;
    leagueserver::LeagueServer site;
    Recorder clock;
    std::optional<app::MainWindow> window; // built once the car folder is filled
    QStringList started;
};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // Windows' own file dialog cannot be driven from here.
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        // A system's unfocused selection barely apart from the list's black, as Windows' was.
        QPalette dim = QApplication::palette();
        dim.setColor(QPalette::Inactive, QPalette::Highlight, QColor(27, 27, 27));
        QApplication::setPalette(dim);
    }

    void aMembersSession() {
        league::NetworkFetch network(std::chrono::seconds(30)); // only the member's Cancel ends a slow fetch soon
        Member member(network);
        QCOMPARE(member.started, (QStringList{"Website Location | Website is - " + member.site.baseUrl(), ""}));
        // Each caption whole in its box, in whatever font this host gives (the approved window shows the rest).
        for (const QLabel* label : member.window->findChildren<QLabel*>())
            QVERIFY2(label->minimumSizeHint().width() <= label->width(), qPrintable(label->text() + " is cut off"));
        auto* currentSet = member.control<QLineEdit>("lblCurrent");
        QCOMPARE(member.window->focusWidget(), member.control("cmdDoIt"));
        const QRect screen = member.window->screen()->geometry(), frame = member.window->frameGeometry();
        QCOMPARE(frame.topLeft(), screen.topLeft() + QPoint((screen.width() - frame.width()) / 2,
                                                            (screen.height() - frame.height()) / 2));
        // In the list's fixed-pitch font every description starts at the same place.
        auto* list = member.control<QListView>("lstPacks");
        const auto at = [list](int row) { return list->model()->index(row, 0); };
        const auto text = [&](int row, int role = Qt::DisplayRole) { return at(row).data(role).toString(); };
        QCOMPARE(list->fontMetrics().horizontalAdvance(text(0).left(13)),
                 list->fontMetrics().horizontalAdvance(text(1).left(13)));
        // An entry wider than the list scrolls into view to its end, and tells its full text.
        QCOMPARE_GE(list->visualRect(at(1)).width(), list->fontMetrics().horizontalAdvance(text(1)));
        list->horizontalScrollBar()->setValue(list->horizontalScrollBar()->maximum());
        QCOMPARE_LE(list->visualRect(at(1)).right(), list->viewport()->width());
        QCOMPARE(QStringList({text(1, Qt::ToolTipRole), text(1, Qt::AccessibleDescriptionRole)}),
                 QStringList({text(1), text(1)}));

        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(at(0)).center());
        // The pack the swap button takes shows while the member presses that button as it shows while the list has the
        // focus.
        QVERIFY(QTest::qWaitForWindowActive(&*member.window));
        member.control("cmdDoIt")->setFocus();
        QVERIFY(!list->hasFocus());
        const QRect entry = list->visualRect(at(0)); // wider than its text
        QCOMPARE(list->viewport()->grab(entry).toImage().pixelColor(entry.width() - 2, entry.height() / 2),
                 list->palette().color(QPalette::Active, QPalette::Highlight));
        QVERIFY(QDir(member.cars.file("Touring2003")).removeRecursively());
        std::optional<BoxAnswerer> boxes(std::in_place);
        for (const char* button : {"cmdDoIt", "cmdBackup", "cmdCheckMeeting"})
            QTest::mouseClick(member.control(button), Qt::LeftButton);
        // Shown from its start, not where typing would go on.
        QCOMPARE(QStringList({currentSet->text(), QString::number(currentSet->cursorPosition()), currentSet->toolTip(),
                              currentSet->accessibleDescription()}),
                 QStringList({"GT Cars 12/04/2003", "0", "GT Cars 12/04/2003", "GT Cars 12/04/2003"}));
        // The list is read again: the sets the swap and the backup kept show, the removed pack has gone.
        QCOMPARE(QStringList({text(0), text(1).left(13), text(2), text(3)}),
                 QStringList({"GT .......GT Cars - 12/04/2003", "Historic .Vin", "original .GT Cars - 12/04/2003",
                              "previous .Classic - 1998"}));
        // Line ends show as line breaks.
        QVERIFY(boxes->shown.last().startsWith("Meeting Info | The next meeting is the Winter Cup on 2026-12-13 at "
                                               "Spa using the GT cars. \nGT is up to date\nThe Spa track is not"));
        // Not the active set: its swap is offered, No the default and Escape's answer, which changes nothing.
        member.cars.write("car1.tex", "other");
        QTest::mouseClick(member.control("cmdCheckMeeting"), Qt::LeftButton);
        QCOMPARE(boxes->shown.last(),
                 "Meeting Info | Swap the GT cars in now, ready for the Winter Cup? (No by default)");
        QCOMPARE(member.cars.read("car1.tex"), "other");
        // A report too long for the screen scrolls.
        member.site.publish("tarvver.txt", "400\n" + QByteArray("Pack|01/01/2003\n").repeated(400));
        QTest::mouseClick(member.control("cmdCheckPack"), Qt::LeftButton);
        QCOMPARE(boxes->shown.mid(4), (QStringList{"Packs In file | scrolls", "Pack Status | scrolls"}));
        // One that asks takes Return for its default, Yes.
        QVERIFY(app::WindowMessageBoxes(*member.window).ask("Long", QString("A line\n").repeated(400)));

        // Each listed pack is marked with what the check found, in its picture, tooltip and description.
        const auto marks = [&] {
            QStringList shown;
            for (int row = 0; row < list->model()->rowCount(); ++row)
                shown << text(row, Qt::ToolTipRole).section('\n', 1) +
                             (at(row).data(Qt::DecorationRole).value<QPixmap>().isNull() ? "" : " drawn");
            return shown;
        };
        member.site.publish("tarvver.txt",
                            "4\nGT|12/04/2003\noriginal|01/01/2003\nHistoric|01/01/2004\nTouring2003|1/1/3\n");
        QTest::mouseClick(member.control("cmdCheckPack"), Qt::LeftButton);
        QCOMPARE(marks(), (QStringList{"up to date drawn", "out of date drawn", "date invalid drawn", " drawn"}));
        QCOMPARE(text(0, Qt::AccessibleDescriptionRole), "GT .......GT Cars - 12/04/2003\nup to date");
        // A swap and a backup keep the marks of packs whose drivers.txt is as it was judged, and the selection.
        list->setCurrentIndex(at(1));
        for (const char* button : {"cmdDoIt", "cmdBackup"})
            QTest::mouseClick(member.control(button), Qt::LeftButton);
        QCOMPARE(marks(), (QStringList{"up to date drawn", "out of date drawn", " drawn", " drawn"}));
        QCOMPARE(list->selectionModel()->selectedRows(), QModelIndexList{at(1)});
        // A check whose list cannot be had leaves no mark.
        member.site.setMode(leagueserver::Mode::NotFound);
        QTest::mouseClick(member.control("cmdCheckPack"), Qt::LeftButton);
        QCOMPARE(marks(), (QStringList{"", "", "", ""}));
        // A site that sends a byte a second is given up at the member's Cancel, not at the time-out.
        member.site.setMode(leagueserver::Mode::OneBytePerSecond);
        session::startLogFile(logs_.path());
        boxes.emplace(true); // a fresh answerer, which also cancels the fetches
        QTest::mouseClick(member.control("cmdCheckMeeting"), Qt::LeftButton);
        QCOMPARE(boxes->cancelled, 2);
        QVERIFY(boxes->shown.value(0).startsWith("Meeting Info | Sorry, I could not find any relevant meeting info."));
        QCOMPARE(loggedIn(logs_.path()).count("failed: the member gave up"), 2);
        QTest::mouseClick(member.control("cmdExit"), Qt::LeftButton);
        QVERIFY(!member.window->isVisible());
    }

    // Each picture as approved, pixel for pixel (TARVOK_APPROVE_PICTURES=1 approves what is drawn now); one with words
    // only where they come out as approved. A button shows no caption, so on every host each face shows a lit key with
    // its words right of the glyph.
    void eachPictureAsApproved_data() {
        using namespace app::pictures;
        QTest::addColumn<QImage>("picture");
        QTest::newRow("banner") << banner(1).toImage();
        QTest::newRow("icon") << windowIcon(2).toImage();
        for (const auto& [name, face] : {std::pair("swap face", Face::Swap),
                                         {"backup face", Face::Backup},
                                         {"check packs face", Face::CheckPacks},
                                         {"check meeting face", Face::CheckMeeting},
                                         {"exit face", Face::Exit}})
            QTest::newRow(name) << buttonFace(face, 1).toImage();
        for (const auto& [name, mark] : {std::pair("up to date mark", session::PackMark::UpToDate),
                                         {"out of date mark", session::PackMark::OutOfDate},
                                         {"date invalid mark", session::PackMark::DateInvalid}})
            QTest::newRow(name) << packMark(mark, 16, 2).toImage();
        CannedSite network; // the window as it opens, each control where the layout puts it
        Member member(network);
        QTest::newRow("window") << member.window->grab().toImage();
    }

    void eachPictureAsApproved() {
        QFETCH(QImage, picture);
        picture.setDevicePixelRatio(1); // the pixels are what is compared
        const bool face = QByteArray(QTest::currentDataTag()).endsWith("face");
        int inked = 0; // rows across the words that hold more than the key's shade of that row
        for (int y = 4; face && y < 39; ++y)
            inked += std::ranges::any_of(std::views::iota(43, 109),
                                         [&](int x) { return picture.pixel(x, y) != picture.pixel(42, y); });
        QVERIFY(!face || (picture.size() == app::pictures::kFaceSize && picture.pixel(0, 25) != picture.pixel(0, 41) &&
                          inked > 5));
        const QString approved = QString(TARVOK_PICTURES "/%1.png").arg(QTest::currentDataTag());
        if (qEnvironmentVariableIsSet("TARVOK_APPROVE_PICTURES"))
            picture.save(approved);
        const QString font =
            QFontInfo(QFont({"Arial", "Liberation Sans", "Nimbus Sans", "Helvetica", "DejaVu Sans"})).family();
        if (!QByteArray(QTest::currentDataTag()).endsWith("mark") &&
            (QSysInfo::kernelType() != "linux" || font != "DejaVu Sans"))
            QSKIP(qPrintable("its words were approved as drawn on Linux in DejaVu Sans, not here in " + font));
        QCOMPARE(picture, QImage(approved).convertToFormat(picture.format()));
    }

    void eachWayInInstallsTheArchivesChosen_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<int>("chosen"); // archives, of two; none cancels the file dialog
        for (const char* way : {"right click", "Menu", "Ctrl+O"})
            QTest::newRow(way) << way << 2;
        QTest::newRow("Ctrl+O, then Cancel") << "Ctrl+O" << 0;
        QTest::newRow("a drop") << "drop" << 2;
        QTest::newRow("a drag of text") << "drop" << 0;
        QTest::newRow("the program's argument") << "argument" << 1;
    }
    void eachWayInInstallsTheArchivesChosen() {
        QFETCH(QString, way);
        QFETCH(int, chosen);
        CannedSite network;
        Member member(network);
        const QString game = QFileInfo(member.cars.path()).path();
        const QStringList archives = QStringList{game + "/GT 2.zip", game + "/Touring.tar.gz"}.mid(0, chosen);
        for (const QString& archive : archives)
            member.cars.write("../" + QFileInfo(archive).fileName(), "archive");
        auto* list = member.control<QListView>("lstPacks");
        list->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&*member.window));
        const LogFolder logs;
        session::startLogFile(logs.path());
        const BoxAnswerer boxes(false, archives);
        QMimeData dragged;
        if (way == "right click") {
            QTest::mouseClick(member.window->windowHandle(), Qt::RightButton, {},
                              list->viewport()->mapTo(&*member.window, QPoint(5, 5)));
        } else if (way == "drop") {
            for (const QString& archive : archives)
                dragged.setUrls(dragged.urls() << QUrl::fromLocalFile(archive));
            dragged.setText("GT 2.zip");
            // Over the list, which takes no drops of its own: the window does.
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &dragged, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(list->viewport(), &enter);
            QCOMPARE(enter.isAccepted(), chosen > 0);
            QDropEvent drop(list->geometry().center(), Qt::CopyAction, &dragged, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(&*member.window, &drop);
        } else if (way == "argument") {
            member.window->installLater(archives);
        } else {
            QTest::keySequence(list, QKeySequence(way));
        }
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            QAction* install = menu->actions().value(0);
            QCOMPARE(install ? install->text() : "", "Install a skinpack from an archive...");
            menu->setActiveAction(install);
            QTest::keyClick(menu, Qt::Key_Return);
        }
        QCOMPARE(boxes.shown.count("Install a skinpack from an archive"), way == "drop" || way == "argument" ? 0 : 1);
        // Every install's line holds these words, so where none was chosen this finds any.
        QTRY_COMPARE(loggedIn(logs.path()).count("command: install " + archives.join(", ")), chosen > 0 ? 1 : 0);
    }

#if defined(Q_OS_LINUX) || defined(Q_OS_WIN)
    // A swap whose file call blocks (a slow share, say): the window still paints and takes the member's
    // Cancel, refuses a second command and to close; Cancel while copying leaves the cars as they were, and once
    // every file is written the box stays full and the swap ends.
    void theMemberCanGiveUpACopyWhoseFileCallBlocks_data() {
        QTest::addColumn<QString>("below"); // where every call is counted; none: the renames in the car folder
        QTest::addColumn<int>("call");      // the one held
        QTest::addColumn<QString>("shown");
        // The pack's second file's creation, after the part's folder, its mark and each file noted in it: the cars as
        // they were (63 bytes) and its first file (11) are written.
        QTest::newRow("while copying") << "/.tarvok-work/new" << 8 << "2 of 4 files, 74 bytes of 154 bytes";
        // The journal taking its name: every copy is written, the drivers.txt kept in "previous" among them.
        QTest::newRow("every file written") << "" << 1 << "4 of 4 files, 154 bytes of 154 bytes";
    }

    void theMemberCanGiveUpACopyWhoseFileCallBlocks() {
        QFETCH(QString, below);
        QFETCH(int, call);
        QFETCH(QString, shown);
        CannedSite network;
        Member member(network);
        const TreeSnapshot before = member.cars.snapshot();
        auto* list = member.control<QListView>("lstPacks");
        list->setCurrentIndex(list->model()->index(0, 0));
        file_calls_arm((QFileInfo(member.cars.path()).canonicalFilePath() + below).toUtf8(),
                       below.isEmpty() ? FILE_CALLS_RENAMES : FILE_CALLS_ALL, call, FILE_CALLS_HOLD);
        QStringList whileHeld{"never held"};
        QTimer::singleShot(0, [&] {
            const auto release = qScopeGuard(file_calls_release); // on leaving, a failure too: else the copy waits on
            QTRY_VERIFY(file_calls_holding());
            QProgressDialog* progress = nullptr;
            QTRY_VERIFY((progress = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget())));
            QTRY_COMPARE(progress->labelText(), "Swapping in GT\n\n" + shown);
            QCOMPARE(progress->value(), 1000 * shown.section(' ', 4, 4).toInt() / 154);
            const BoxAnswerer answerer; // a backup that started now would ask, and be answered Yes
            QTest::mouseClick(member.control("cmdBackup"), Qt::LeftButton);
            QVERIFY(!member.window->close());
            QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
            QCOMPARE(progress->labelText() + (progress->isVisible() ? "" : " (hidden)"),
                     "Swapping in GT\n\n" + shown + "\n\nCancelling...");
            whileHeld = QStringList(answerer.shown) << (QGuiApplication::overrideCursor() ? "" : "no wait cursor");
        });
        QTest::mouseClick(member.control("cmdDoIt"), Qt::LeftButton);
        file_calls_disarm();
        QCOMPARE(whileHeld, QStringList{""});
        QVERIFY(!QApplication::activeModalWidget() && !QGuiApplication::overrideCursor());
        QCOMPARE(member.cars.snapshot() != before, below.isEmpty()); // the cars change once every file is written
    }
#endif

private:
    LogFolder logs_;
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
