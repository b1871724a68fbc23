#include "league/NetworkFetch.h"
#include "support/CarFolder.h"
#include "support/LeagueSite.h"
#include "support/Process.h"
#include "support/TestMain.h"
#include "WindowTesting.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <memory>
#include <tuple>

using leagueserver::Mode;
using namespace std::chrono_literals;

namespace {

constexpr auto kStall = 1s;
// Each fetch ends within twice the stall time-out; the boxes and the window get this much on top.
constexpr auto kSlack = 3s;
#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer keeps freed blocks in a quarantine of up to 256 MiB before reusing them.
constexpr qint64 kMaxGrowthKiB = 64 * 1024 + 256 * 1024;
#else
constexpr qint64 kMaxGrowthKiB = 64 * 1024;
#endif
constexpr int kPollMs = 5;
constexpr int kMaxPolls = 6000;

const QString kProblems = QStringLiteral("There seem to be problems which may stop you racing the next meeting.\n"
                                         "Please visit the Tarvok website to fix the problems.");

void pollForMessageBoxes(const std::shared_ptr<QStringList>& shown, int count, int pollsLeft) {
    const QPointer<QMessageBox> box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box && box->isVisible()) {
        shown->append(box->windowTitle() + QStringLiteral(" | ") + box->text());
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    }
    if (shown->size() < count && pollsLeft > 0)
        QTimer::singleShot(kPollMs, qApp, [=] { pollForMessageBoxes(shown, count, pollsLeft - 1); });
}

// Every message box up to `count`, answered OK and recorded as "title | prompt"; progress boxes are left alone.
std::shared_ptr<QStringList> answerMessageBoxes(int count) {
    auto shown = std::make_shared<QStringList>();
    QTimer::singleShot(0, qApp, [=] { pollForMessageBoxes(shown, count, kMaxPolls); });
    return shown;
}

// The real window on a car folder whose ZERN.cfg names a league site that misbehaves on purpose.
struct HostileWindow {
    explicit HostileWindow(Mode mode) {
        cars.addPack(QStringLiteral("GT"), QStringLiteral("GT Cars"), QStringLiteral("12/04/2003"), {"gt.tex"});
        cars.write(QStringLiteral("drivers.txt"), CarFolder::driversTxt("GT Cars", "12/04/2003"));
        cars.write(QStringLiteral("ZERN.cfg"), site.baseUrl().toUtf8() + "\r\n");
        site.publish(QStringLiteral("tarvver.txt"), "1\r\nGT|12/04/2003\r\n");
        site.publish(QStringLiteral("tarvmeet.txt"), "1\r\n2026-12-13|Round 5|GT|Spa\r\n");
        site.setMode(mode);
        window = std::make_unique<FrmMain>(cars.path(), network, clock);
        answerMessageBoxes(1);
        window->Form_Load();
        window->show();
    }

    QAbstractButton* button(const QString& name) const { return control<QAbstractButton>(*window, name); }

    CarFolder cars;
    LeagueSite site;
    NetworkFetch network{kStall};
    FixedClock clock{QDate(2026, 12, 6)};
    std::unique_ptr<FrmMain> window;
};

} // namespace

// A league site that never answers, trickles, floods, loops or sends rubbish: each check ends within
// its time-out with the report of a missing list, memory stays small and the window answers again.
class HostileSiteTest : public QObject {
    Q_OBJECT

private slots:
    void checkEndsWithItsReport_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("fetches");
        QTest::addColumn<QStringList>("boxes");
        const QStringList emptyLists{QStringLiteral("Packs In file | "), QStringLiteral("Pack Status | ")};
        const QString noMeeting = QStringLiteral("Meeting Info | Sorry, I could not find any relevant meeting info.\n");
        const QString noPack = QStringLiteral(" is not installed\n");
        const QString noTrack = QStringLiteral("The  track is not installed\n");
        const std::initializer_list<std::tuple<const char*, Mode, QString>> modes{
            {"never answers", Mode::NeverAnswers, noPack},
            {"one byte per second", Mode::OneBytePerSecond, noPack},
            {"endless body", Mode::EndlessBody, noPack},
            {"redirect loop", Mode::RedirectLoop, noPack},
            {"404", Mode::NotFound, noPack},
            {"500", Mode::ServerError, noPack},
            // The page's last line leaves the meeting's pack name empty, and the page's nameless line matches it
            // without a date: no verdict line, the problem flag raised.
            {"200 html error page", Mode::HtmlErrorPage, QString()},
            {"closes mid-body", Mode::ClosesMidBody, noPack},
            {"single 1 MiB line", Mode::HugeLine, noPack}};
        for (const auto& [name, mode, packLine] : modes) {
            QTest::addRow("%s, check pack", name) << int(mode) << QStringLiteral("cmdCheckPack") << 1 << emptyLists;
            QTest::addRow("%s, check meeting", name) << int(mode) << QStringLiteral("cmdCheckMeeting") << 2
                                                     << QStringList{noMeeting + packLine + noTrack + kProblems};
        }
    }

    void checkEndsWithItsReport() {
        QFETCH(int, mode);
        QFETCH(QString, command);
        QFETCH(int, fetches);
        QFETCH(QStringList, boxes);
        HostileWindow w{Mode(mode)};
        const qint64 residentBefore = maxResidentKiB();

        const auto shown = answerMessageBoxes(int(boxes.size()));
        QElapsedTimer took;
        took.start();
        QTest::mouseClick(w.button(command), Qt::LeftButton);

        QVERIFY2(std::chrono::milliseconds(took.elapsed()) < fetches * 2 * kStall + kSlack,
                 qPrintable(QString::number(took.elapsed())));
        QCOMPARE(*shown, boxes);
        QVERIFY(maxResidentKiB() - residentBefore < kMaxGrowthKiB);
        for (const QString& list : {QStringLiteral("tarvver.txt"), QStringLiteral("tarvmeet.txt")})
            QVERIFY(QFileInfo(w.cars.file(list)).size() <= NetworkFetch::kMaxBodyBytes);

        // The window takes clicks again: Swap without a selection asks for one.
        const auto doh = answerMessageBoxes(1);
        QTest::mouseClick(w.button(QStringLiteral("cmdDoIt")), Qt::LeftButton);
        QCOMPARE(*doh, QStringList{QStringLiteral("Doh! | Please choose a skinpack first")});
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }
};

TARVOK_TEST(HostileSiteTest)
#include "test_hostile_site.moc"
