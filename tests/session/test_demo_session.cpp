#include "league/NetworkFetch.h"
#include "LeagueServer.h"
#include "support/CarFolder.h"
#include "support/Recorder.h"

#include <QTest>

using namespace carsets;
using namespace league;
using namespace meeting;
using namespace session;

// The bundled demo's whole session, as a member would run it on any host: the same boxes and files.
class DemoSessionTest : public QObject {
    Q_OBJECT

private slots:
    void theDemoSessionGivesTheSameBoxesAndFiles() {
        CarFolder game;
        leagueserver::LeagueServer site;
        const fs::Path demo = fs::fromQt(TARVOK_DEMO);
        for (const char* folder : {"cars", "run"})
            std::filesystem::copy(demo / folder, game.host() / ".." / folder, std::filesystem::copy_options::recursive);
        for (const char* list : {"tarvmeet.txt", "tarvver.txt"}) {
            QFile file(QString(TARVOK_DEMO "/site/") + list);
            QVERIFY(file.open(QIODevice::ReadOnly));
            site.publish(list, file.readAll().replace("@NEXTWEEK@", "2026-12-13").replace("@LASTWEEK@", "2026-11-29"));
        }
        game.write("ZERN.cfg", site.baseUrl().toUtf8() + "\r\n");
        const TreeSnapshot before = game.snapshot();
        NetworkFetch network;
        Recorder window;
        Session session(game.host(), window.ports(network));

        session.start();
        window.selectedRow = 1;
        session.swapInSelectedPack();
        window.answers = {true};
        session.backUpActiveCars();
        session.checkPacks();
        session.checkMeeting();

        QCOMPARE(window.currentSet, "Tarvok GT Championship 12/04/2003");
        QCOMPARE(
            window.boxes,
            (QStringList{"Website Location | Website is - " + site.baseUrl(),
                         "Wait a Minute! | Warning! This will copy your current cars to the original folder!\r\n"
                         "Are you sure you want to do this?",
                         "Packs In file | GT2003:12/04/2003\r\nTouring:01/05/2003\r\nClassics:05/06/2003\r\n"
                         "Endurance:05/05/2003\r\n",
                         "Pack Status | GT2003 is up to date\r\nTouring is out of date\r\nClassics date is invalid\r\n"
                         "Endurance is not installed\r\n",
                         "Meeting Info | The next meeting is the Round 5 on 2026-12-13 at Spa using the GT2003 cars. "
                         "\r\nGT2003 is up to date\r\nThe Spa track is installed\r\nEverything appears to be OK for "
                         "the next meeting."}));
        QCOMPARE(
            game.snapshot().changesSince(before),
            (QStringList{"+ cars/gt_car01.tex", "+ cars/gt_car02.tex", "+ cars/gt_car03.tex", "+ cars/original/",
                         "+ cars/original/drivers.txt", "+ cars/original/gt_car01.tex", "+ cars/original/gt_car02.tex",
                         "+ cars/original/gt_car03.tex", "+ cars/original/tc_car01.tex", "+ cars/original/tc_car02.tex",
                         "+ cars/tarvmeet.txt", "+ cars/tarvver.txt", "~ cars/drivers.txt"}));
    }
};

QTEST_GUILESS_MAIN(DemoSessionTest)
#include "test_demo_session.moc"
