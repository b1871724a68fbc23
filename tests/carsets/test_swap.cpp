#include "carsets/Catalogue.h"
#include "carsets/CurrentSet.h"
#include "carsets/Swap.h"
#include "support/CarFolder.h"
#include "support/RecordingPorts.h"
#include "support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

// The window's state after start-up: the catalogue built and the active set shown.
FormState startedIn(const CarFolder& cars, RecordingPorts& ui) {
    FormState st;
    st.appPath = fs::fromQt(cars.path());
    subInitialiseSkinPacks(st, ui.lstPacks);
    showStartupCurrentSet(st, ui.lblCurrent);
    return st;
}

// The active set of a member who last raced the "Classic" pack: textures a.tex and b.tex.
void activeClassicSet(const CarFolder& cars) {
    cars.write(QStringLiteral("drivers.txt"), CarFolder::driversTxt(QStringLiteral("Classic"), QStringLiteral("1998")));
    cars.write(QStringLiteral("a.tex"), "old a");
    cars.write(QStringLiteral("b.tex"), "old b");
}

} // namespace

class SwapTest : public QObject {
    Q_OBJECT

private slots:
    void withoutSelectionOnlyAsksForOne_data() {
        QTest::addColumn<bool>("withPacks");
        QTest::newRow("nothing selected") << true;
        QTest::newRow("empty list") << false;
    }

    void withoutSelectionOnlyAsksForOne() {
        QFETCH(bool, withPacks);
        CarFolder cars;
        activeClassicSet(cars);
        if (withPacks)
            cars.addPack(QStringLiteral("Modern"), QStringLiteral("Modern"), QStringLiteral("2024"), {"a.tex"});
        RecordingPorts ui;
        FormState st = startedIn(cars, ui);
        QCOMPARE(ui.lstPacks.entries.isEmpty(), !withPacks);
        const QStringList before = cars.snapshot();
        const int labelWrites = ui.lblCurrent.writes;

        subDoIt(st, ui.ports);

        QCOMPARE(ui.msgBox.shown.size(), 1);
        QCOMPARE(ui.msgBox.shown[0].title, QStringLiteral("Doh!"));
        QCOMPARE(ui.msgBox.shown[0].prompt, QStringLiteral("Please choose a skinpack first"));
        QVERIFY(!ui.msgBox.shown[0].yesNo);
        QCOMPARE(cars.snapshot(), before);
        QCOMPARE(ui.lblCurrent.writes, labelWrites);
    }

    void swapCopiesTheSelectedPackAndShowsIt() {
        CarFolder cars;
        activeClassicSet(cars);
        cars.addPack(QStringLiteral("Aero"), QStringLiteral("Aero"), QStringLiteral("2001"), {"a.tex"});
        cars.addPack(QStringLiteral("Modern"), QStringLiteral("Modern Cars"), QStringLiteral("12/03/2024"),
                     {"a.tex", "c.tex"});
        cars.makeFolder(QStringLiteral("Modern/folder.tex")); // not a texture
        RecordingPorts ui;
        FormState st = startedIn(cars, ui);
        QCOMPARE(ui.lblCurrent.text, QStringLiteral("Classic 1998"));

        ui.lstPacks.selected = 1;
        subDoIt(st, ui.ports);

        QVERIFY(ui.msgBox.shown.isEmpty());
        QCOMPARE(cars.read(QStringLiteral("a.tex")), cars.read(QStringLiteral("Modern/a.tex")));
        QCOMPARE(cars.read(QStringLiteral("c.tex")), cars.read(QStringLiteral("Modern/c.tex")));
        QCOMPARE(cars.read(QStringLiteral("b.tex")), QByteArray("old b")); // the previous set's leftover stays
        QCOMPARE(cars.read(QStringLiteral("drivers.txt")), cars.read(QStringLiteral("Modern/drivers.txt")));
        QVERIFY(!cars.exists(QStringLiteral("folder.tex")));
        QCOMPARE(ui.lblCurrent.text, QStringLiteral("Modern Cars 12/03/2024"));
        QCOMPARE(QDir(cars.path()).entryList(QDir::Files | QDir::Hidden).size(), 4);
    }

    void packWithoutTexturesBringsItsDriversTxt() {
        CarFolder cars;
        activeClassicSet(cars);
        cars.addPack(QStringLiteral("Bare"), QStringLiteral("Bare Pack"), QStringLiteral("2020"));
        RecordingPorts ui;
        FormState st = startedIn(cars, ui);

        ui.lstPacks.selected = 0;
        subDoIt(st, ui.ports);

        QVERIFY(ui.msgBox.shown.isEmpty());
        QCOMPARE(cars.read(QStringLiteral("drivers.txt")), cars.read(QStringLiteral("Bare/drivers.txt")));
        QCOMPARE(cars.read(QStringLiteral("a.tex")), QByteArray("old a"));
        QCOMPARE(ui.lblCurrent.text, QStringLiteral("Bare Pack 2020"));
    }

    void packThatIsNotThereIsReported_data() {
        QTest::addColumn<int>("selected");
        QTest::newRow("folder removed after start-up") << 0;
        QTest::newRow("position past the catalogue") << 5;
    }

    void packThatIsNotThereIsReported() {
        QFETCH(int, selected);
        CarFolder cars;
        activeClassicSet(cars);
        cars.addPack(QStringLiteral("Modern"), QStringLiteral("Modern"), QStringLiteral("2024"), {"c.tex"});
        RecordingPorts ui;
        FormState st = startedIn(cars, ui);
        QVERIFY(QDir(cars.file(QStringLiteral("Modern"))).removeRecursively());
        const QStringList before = cars.snapshot();
        const int labelWrites = ui.lblCurrent.writes;

        ui.lstPacks.selected = selected;
        subDoIt(st, ui.ports);

        QCOMPARE(ui.msgBox.shown.size(), 1);
        QCOMPARE(ui.msgBox.shown[0].title, QStringLiteral("Oops..."));
        QCOMPARE(ui.msgBox.shown[0].prompt, QStringLiteral("Skinpack not found!"));
        QCOMPARE(cars.snapshot(), before);
        QCOMPARE(ui.lblCurrent.writes, labelWrites);
    }

    void swappingToTheActivePackChangesNothing() {
        CarFolder cars;
        activeClassicSet(cars);
        cars.addPack(QStringLiteral("Modern"), QStringLiteral("Modern"), QStringLiteral("2024"), {"a.tex", "c.tex"});
        RecordingPorts ui;
        FormState st = startedIn(cars, ui);
        ui.lstPacks.selected = 0;
        subDoIt(st, ui.ports);
        const QStringList afterFirst = cars.snapshot();

        subDoIt(st, ui.ports);

        QVERIFY(ui.msgBox.shown.isEmpty());
        QCOMPARE(cars.snapshot(), afterFirst);
        QCOMPARE(ui.lblCurrent.text, QStringLiteral("Modern 2024"));
    }
};

TARVOK_TEST(SwapTest)
#include "test_swap.moc"
