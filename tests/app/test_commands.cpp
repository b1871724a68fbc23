#include "league/NetworkFetch.h"
#include "support/CarFolder.h"
#include "support/LeagueSite.h"
#include "support/TestMain.h"
#include "WindowTesting.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <memory>

namespace {

// Answers the next `count` boxes with `button`, recording each one's title and text.
std::shared_ptr<QList<ShownBox>> answerBoxes(int count, QMessageBox::StandardButton button) {
    auto shown = std::make_shared<QList<ShownBox>>();
    auto answerNext = std::make_shared<std::function<void(int)>>();
    *answerNext = [shown, answerNext, button](int left) {
        whenModalShows([shown, answerNext, button, left](QWidget& box) {
            auto* messageBox = qobject_cast<QMessageBox*>(&box);
            QVERIFY(messageBox);
            shown->append({box.windowTitle(), messageBox->text(), messageBox->button(QMessageBox::No) != nullptr});
            if (left > 1)
                (*answerNext)(left - 1);
            QTest::mouseClick(messageBox->button(button) ? messageBox->button(button)
                                                         : messageBox->button(QMessageBox::Ok),
                              Qt::LeftButton);
        });
    };
    (*answerNext)(count);
    return shown;
}

// The real window on a car folder whose ZERN.cfg names a real league site on this machine.
struct LeagueWindow {
    LeagueWindow() {
        cars.addPack(QStringLiteral("GT2003"), QStringLiteral("GT Championship"), QStringLiteral("12/04/2003"),
                     {QStringLiteral("gt1.tex"), QStringLiteral("gt2.tex")});
        cars.addPack(QStringLiteral("Touring"), QStringLiteral("Touring Cup"), QStringLiteral("01/04/2003"),
                     {QStringLiteral("tc1.tex")});
        cars.write(QStringLiteral("drivers.txt"),
                   CarFolder::driversTxt(QStringLiteral("Touring Cup"), QStringLiteral("01/04/2003")));
        cars.write(QStringLiteral("tc1.tex"), "active");
        cars.write(QStringLiteral("../run/Spa.trk"), "track");
        cars.write(QStringLiteral("ZERN.cfg"), site.baseUrl().toUtf8() + "\r\n");
        window = std::make_unique<FrmMain>(cars.path(), network, clock);
        answerBoxes(1, QMessageBox::Ok);
        window->Form_Load();
        window->show();
    }

    QAbstractButton* button(const char* name) const { return control<QAbstractButton>(*window, QLatin1String(name)); }
    QString currentSet() const { return control<QLineEdit>(*window, QStringLiteral("lblCurrent"))->text(); }

    CarFolder cars;
    LeagueSite site;
    NetworkFetch network{std::chrono::seconds(5)};
    FixedClock clock{QDate(2026, 12, 6)};
    std::unique_ptr<FrmMain> window;
};

} // namespace

class CommandsTest : public QObject {
    Q_OBJECT

private slots:
    void swapWithoutSelectionAsksForOne() {
        LeagueWindow w;
        const auto boxes = answerBoxes(1, QMessageBox::Ok);
        QTest::mouseClick(w.button("cmdDoIt"), Qt::LeftButton);
        QCOMPARE(boxes->size(), 1);
        QCOMPARE(boxes->at(0).title, QStringLiteral("Doh!"));
        QCOMPARE(boxes->at(0).prompt, QStringLiteral("Please choose a skinpack first"));
        QCOMPARE(w.currentSet(), QStringLiteral("Touring Cup 01/04/2003"));
    }

    void swapMakesTheSelectedPackActive() {
        LeagueWindow w;
        auto* list = control<QListWidget>(*w.window, QStringLiteral("lstPacks"));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
        QCOMPARE(list->currentRow(), 0);
        QTest::mouseClick(w.button("cmdDoIt"), Qt::LeftButton);
        QCOMPARE(w.currentSet(), QStringLiteral("GT Championship 12/04/2003"));
        QCOMPARE(w.cars.read(QStringLiteral("gt2.tex")), QByteArray("GT2003/gt2.tex"));
        QCOMPARE(w.cars.read(QStringLiteral("tc1.tex")), QByteArray("active"));
    }

    void backupAskedAndAnsweredYes() {
        LeagueWindow w;
        const auto boxes = answerBoxes(1, QMessageBox::Yes);
        QTest::mouseClick(w.button("cmdBackup"), Qt::LeftButton);
        QCOMPARE(boxes->size(), 1);
        QCOMPARE(boxes->at(0).title, QStringLiteral("Wait a Minute!"));
        QVERIFY(boxes->at(0).yesNo);
        QCOMPARE(w.cars.read(QStringLiteral("original/tc1.tex")), QByteArray("active"));
        QCOMPARE(w.cars.read(QStringLiteral("original/drivers.txt")), w.cars.read(QStringLiteral("drivers.txt")));
    }

    void checkPacksShowsTheListThenTheVerdicts() {
        LeagueWindow w;
        w.site.publish(QStringLiteral("tarvver.txt"),
                       "3\r\nGT2003|12/04/2003\r\nTouring|01/05/2003\r\nRally|01/05/2003\r\n");
        const auto boxes = answerBoxes(2, QMessageBox::Ok);
        QTest::mouseClick(w.button("cmdCheckPack"), Qt::LeftButton);
        QCOMPARE(boxes->size(), 2);
        QCOMPARE(boxes->at(0).title, QStringLiteral("Packs In file"));
        QCOMPARE(boxes->at(0).prompt, QStringLiteral("GT2003:12/04/2003\nTouring:01/05/2003\nRally:01/05/2003\n"));
        QCOMPARE(boxes->at(1).title, QStringLiteral("Pack Status"));
        QCOMPARE(boxes->at(1).prompt,
                 QStringLiteral("GT2003 is up to date\nTouring is out of date\nRally is not installed\n"));
    }

    void checkMeetingReportsReadiness() {
        LeagueWindow w;
        w.site.publish(QStringLiteral("tarvver.txt"), "1\r\nGT2003|12/04/2003\r\n");
        w.site.publish(QStringLiteral("tarvmeet.txt"), "1\r\n2026-12-13|Round 5|GT2003|Spa\r\n");
        const auto boxes = answerBoxes(1, QMessageBox::Ok);
        QTest::mouseClick(w.button("cmdCheckMeeting"), Qt::LeftButton);
        QCOMPARE(boxes->size(), 1);
        QCOMPARE(boxes->at(0).title, QStringLiteral("Meeting Info"));
        QCOMPARE(boxes->at(0).prompt, QStringLiteral("The next meeting is the Round 5 on 2026-12-13 at Spa using the "
                                                     "GT2003 cars. \nGT2003 is up to date\nThe Spa track is "
                                                     "installed\nEverything appears to be OK for the next meeting."));
    }
};

TARVOK_TEST(CommandsTest)
#include "test_commands.moc"
